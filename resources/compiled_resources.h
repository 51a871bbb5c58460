// The bytes of the compiled resource file, embedded at build time.
#pragma once

#include <cstdint>
#include <span>

namespace wertomat::resources {

extern const std::span<const std::uint8_t> kCompiledResources;

}  // namespace wertomat::resources
