// The forms, string table and icon as the program carries them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/resources.h"
#include "resources/resource.h"

namespace {

using framework::ControlClass;

struct Expected {
    int id;
    ControlClass controlClass;
    std::string caption;
    int x, y, width, height;
    DWORD style;
};

void ExpectControls(const framework::DialogTemplate& form, const std::vector<Expected>& expected) {
    ASSERT_EQ(form.controls.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const framework::ControlTemplate& actual = form.controls[i];
        const Expected& want = expected[i];
        SCOPED_TRACE("control " + std::to_string(i + 1));
        EXPECT_EQ(actual.id, want.id);
        EXPECT_EQ(actual.controlClass, want.controlClass);
        EXPECT_EQ(std::string(actual.caption), want.caption);
        EXPECT_EQ(actual.x, want.x);
        EXPECT_EQ(actual.y, want.y);
        EXPECT_EQ(actual.width, want.width);
        EXPECT_EQ(actual.height, want.height);
        EXPECT_EQ(actual.style, want.style);
        EXPECT_EQ(actual.extendedStyle, 0u);
        EXPECT_EQ(actual.helpId, 0);
    }
}

TEST(Templates, MainDialog) {
    const framework::DialogTemplate* form = framework::FindDialogTemplate(102);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->language, 1031);
    EXPECT_EQ(form->style, 0x90CC0040u);
    EXPECT_EQ(form->style,
              WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_SETFONT);
    EXPECT_EQ(form->extendedStyle, WS_EX_APPWINDOW);
    EXPECT_EQ(form->helpId, 0);
    EXPECT_EQ(std::vector<int>({form->x, form->y, form->width, form->height}),
              std::vector<int>({0, 0, 347, 228}));
    EXPECT_EQ(form->title, "Wertomat");
    EXPECT_EQ(form->font.face, "Arial");
    EXPECT_EQ(form->font.points, 12);
    EXPECT_EQ(form->font.weight, 400);
    EXPECT_FALSE(form->font.italic);
    EXPECT_EQ(form->font.characterSet, 0);
    ExpectControls(
        *form, {
                   {-1, ControlClass::Static, "Xa", 14, 15, 9, 8, 0x50020000},
                   {1000, ControlClass::Edit, "", 50, 12, 87, 14, 0x50810080},
                   {-1, ControlClass::Static, "Xsw", 14, 41, 14, 8, 0x50020000},
                   {1002, ControlClass::Edit, "", 50, 38, 87, 14, 0x50810080},
                   {-1, ControlClass::Static, "Xe", 14, 66, 9, 8, 0x50020000},
                   {1003, ControlClass::Edit, "", 50, 63, 87, 14, 0x50810080},
                   {-1, ControlClass::Button, "Funktion", 7, 101, 142, 61, 0x50000007},
                   {1001, ControlClass::Button, "Y = 2*x\xB3 - 3*x\xB2 + 4*x -5", 29, 114, 97, 10,
                    0x50020009},
                   {1004, ControlClass::Button, "Y = 4*x\xB3 - 2*x\xB2 - 4*x +5", 29, 127, 101, 10,
                    0x50000009},
                   {1005, ControlClass::Button, "Y = -0,5*x\xB3 +0,4*x\xB2 + 4*x +33", 28, 142, 105,
                    10, 0x50000009},
                   {-1, ControlClass::Static, "Ergebnisse", 171, 7, 37, 8, 0x50020000},
                   {1006, ControlClass::Edit, "", 171, 19, 148, 174, 0x50B10884},
                   {1007, ControlClass::Button, "Berechnen", 226, 207, 50, 14, 0x50010000},
                   {2, ControlClass::Button, "Abbrechen", 290, 207, 50, 14, 0x50010000},
               });
    // No default push button, no mnemonics anywhere in the form.
    for (const framework::ControlTemplate& control : form->controls) {
        EXPECT_NE(control.style & BS_TYPEMASK, BS_DEFPUSHBUTTON);
        EXPECT_EQ(control.caption.find('&'), std::string_view::npos);
    }
}

TEST(Templates, AboutBox) {
    const framework::DialogTemplate* form = framework::FindDialogTemplate(100);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->language, 1031);
    EXPECT_EQ(form->style,
              WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_FIXEDSYS);
    EXPECT_EQ(form->extendedStyle, 0u);
    EXPECT_EQ(std::vector<int>({form->x, form->y, form->width, form->height}),
              std::vector<int>({0, 0, 170, 62}));
    EXPECT_EQ(form->title,
              "Info \xFC"
              "ber Wertomat");
    EXPECT_EQ(form->font.face, "MS Shell Dlg");
    EXPECT_EQ(form->font.points, 8);
    EXPECT_EQ(form->font.weight, 0);
    EXPECT_EQ(form->font.characterSet, 1);
    ASSERT_EQ(form->controls.size(), 4u);
    EXPECT_EQ(form->controls[0].iconId, 128);
    EXPECT_EQ(form->controls[0].style, WS_CHILD | WS_VISIBLE | SS_ICON);
    const std::string rights(form->controls[2].caption);
    EXPECT_FALSE(rights.empty());
    ExpectControls(*form, {
                              {-1, ControlClass::Static, "", 14, 14, 21, 20, 0x50000003},
                              {-1, ControlClass::Static, "Wertomat, Version 1.0", 42, 14, 114, 8,
                               WS_CHILD | WS_VISIBLE | WS_GROUP | SS_NOPREFIX | SS_LEFT},
                              {-1, ControlClass::Static, rights, 42, 26, 114, 8,
                               WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT},
                              {1, ControlClass::Button, "OK", 113, 41, 50, 14,
                               WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | BS_DEFPUSHBUTTON},
                          });
}

TEST(Templates, StringTableHoldsOnlyTheAboutEntry) {
    const framework::ResourceModule& module = framework::ProgramResources();
    ASSERT_EQ(module.strings.size(), 1u);
    EXPECT_EQ(module.strings[0].id, 101u);
    EXPECT_EQ(module.strings[0].language, 1031);
    EXPECT_EQ(module.strings[0].text,
              "&Info \xFC"
              "ber Wertomat...");
    ASSERT_NE(framework::FindIcon(128), nullptr);
    EXPECT_EQ(framework::FindIcon(128)->language, 1031);
    EXPECT_EQ(framework::ApplicationName(), "Wertomat");
    EXPECT_EQ(IDC_XA, 1000);
    EXPECT_EQ(ID_SYSMENU_ABOUT & 0xF, 0u);
}

}  // namespace
