// The files of the Windows build: manifest bytes, the icon's images and the
// resource script, which must compile with the Windows resource compiler.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "framework/qt/icon_data.h"
#include "framework/resources.h"
#include "framework/winapp.h"
#include "resources/resource.h"

namespace {

const std::string kResources = WERTOMAT_RESOURCES_DIR;

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::uint32_t Little(const std::string& bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    }
    return value;
}

TEST(Icon, ThirteenImagesInTheirSizesAndDepths) {
    const std::string icon = ReadFile(kResources + "/wertomat.ico");
    ASSERT_GE(icon.size(), 6u);
    EXPECT_EQ(Little(icon, 0, 2), 0u);
    EXPECT_EQ(Little(icon, 2, 2), 1u);
    ASSERT_EQ(Little(icon, 4, 2), 13u);
    struct Entry {
        std::uint32_t size, colours, bits;
        bool png;
    };
    const std::vector<Entry> expected{{48, 16, 4, false}, {32, 16, 4, false}, {24, 16, 4, false},
                                      {16, 16, 4, false}, {48, 0, 8, false},  {32, 0, 8, false},
                                      {24, 0, 8, false},  {16, 0, 8, false},  {256, 0, 32, true},
                                      {48, 0, 32, false}, {32, 0, 32, false}, {24, 0, 32, false},
                                      {16, 0, 32, false}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("image " + std::to_string(i + 1));
        const std::size_t entry = 6 + 16 * i;
        const std::uint32_t width = Little(icon, entry, 1);
        EXPECT_EQ(width == 0 ? 256u : width, expected[i].size);
        EXPECT_EQ(Little(icon, entry + 2, 1), expected[i].colours);
        EXPECT_EQ(Little(icon, entry + 4, 2), 1u);  // planes
        EXPECT_EQ(Little(icon, entry + 6, 2), expected[i].bits);
        const std::uint32_t offset = Little(icon, entry + 12, 4);
        ASSERT_LT(offset + 8, icon.size());
        const bool png = icon.compare(offset, 8, "\x89PNG\r\n\x1a\n") == 0;
        EXPECT_EQ(png, expected[i].png);
        if (!png) {
            EXPECT_EQ(Little(icon, offset, 4), 40u);                       // BITMAPINFOHEADER
            EXPECT_EQ(Little(icon, offset + 8, 4), 2 * expected[i].size);  // colour + mask
            EXPECT_EQ(Little(icon, offset + 14, 2), expected[i].bits);
        }
    }
}

TEST(Icon, TheProgramLoadsEveryImage) {
    const HICON icon = AfxGetApp()->LoadIcon(IDI_MAIN_ICON);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->images.size(), 13u);
    EXPECT_EQ(icon->ImageOfSize(32).size(), QSize(32, 32));
    EXPECT_EQ(AfxGetApp()->LoadIcon(IDI_MAIN_ICON), icon);  // one handle for the process
    EXPECT_EQ(AfxGetApp()->LoadIcon(4711), nullptr);
}

TEST(ResourceScript, CompiledVersionRecordNamesTheProgram) {
    const auto entries = framework::ReadResourceFile(framework::ProgramResources().resourceFile);
    ASSERT_TRUE(entries.value.has_value());
    const framework::ResourceEntry* version =
        framework::FindResourceEntry(*entries.value, framework::ResourceType::Version, 1);
    ASSERT_NE(version, nullptr);
    const std::string compiled(version->data.begin(), version->data.end());
    auto utf16 = [](const std::string& text) {
        std::string wide;
        for (const char c : text) {
            wide += c;
            wide += '\0';
        }
        return wide;
    };
    for (const char* text : {"VS_VERSION_INFO", "040704B0", "FileDescription", "Wertomat",
                             "FileVersion", WERTOMAT_VERSION, "InternalName", "Wertomat.exe",
                             "OriginalFilename", "ProductVersion", "Translation"}) {
        EXPECT_NE(compiled.find(utf16(text)), std::string::npos) << text;
    }
    EXPECT_NE(compiled.find("\xBD\x04\xEF\xFE"), std::string::npos);  // fixed part signature
}

}  // namespace
