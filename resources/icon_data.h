// The bytes of wertomat.ico, embedded at build time.
#pragma once

#include <cstdint>
#include <span>

namespace wertomat::resources {

extern const std::span<const std::uint8_t> kApplicationIcon;

}  // namespace wertomat::resources
