#include "framework/cstring.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <string>

#include "framework/winapp.h"

#include "resources/resource.h"

namespace {

TEST(CString, FormatKeepsTheFullStopUnderAGermanLocaleAndJoins) {
    // The toolkit takes the user's locale at start; the framework's set-up puts
    // numbers back to the C locale.
    const std::string saved = std::setlocale(LC_ALL, nullptr);
#if defined(_WIN32)
    ASSERT_NE(std::setlocale(LC_ALL, "German_Germany.1252"), nullptr);
#else
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "scripts/install-deps makes it";
#endif
    char german[8];
    std::snprintf(german, sizeof german, "%.1f", 0.5);
    EXPECT_STREQ(german, "0,5");
    framework::SetUpProcess();
    CString text;
    text.Format("%.1f", 0.5);
    EXPECT_EQ((text + "\xFC").Bytes(), "0.5\xFC");
    std::setlocale(LC_ALL, saved.c_str());
}

TEST(CString, LoadsTheStringTable) {
    CString text;
    EXPECT_TRUE(text.LoadString(IDS_ABOUT_MENU_TEXT));
    EXPECT_EQ(text.Bytes(),
              "&Info \xFC"
              "ber Wertomat...");
    EXPECT_FALSE(text.LoadString(4711));
    EXPECT_TRUE(text.IsEmpty());
}

}  // namespace
