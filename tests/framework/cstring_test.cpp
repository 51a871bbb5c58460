#include "framework/cstring.h"

#include <gtest/gtest.h>

#include "resources/resource.h"

namespace {

TEST(CString, FormatAndJoin) {
    CString text;
    EXPECT_TRUE(text.IsEmpty());
    text.Format("%10.4f\t%d", -4.628, 7);
    EXPECT_EQ(text.Bytes(), "   -4.6280\t7");
    const CString joined = text + "\xFC";
    EXPECT_EQ(joined.Bytes(), "   -4.6280\t7\xFC");
    text.Empty();
    EXPECT_TRUE(text.IsEmpty());
}

TEST(CString, FormatKeepsTheFullStopUnderTheToolkitsLocale) {
    // The toolkit sets the user's locale at start; the test main resets numbers to C as the
    // framework's main routine does.
    CString text;
    text.Format("%.1f", 0.5);
    EXPECT_EQ(text.Bytes(), "0.5");
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
