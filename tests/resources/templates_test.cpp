// The forms, string table and icon as the program carries them in its
// compiled resource file, and the reader's refusal of damaged files.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "core/function_catalogue.h"
#include "framework/resource_file/resource_file.h"
#include "framework/resources.h"
#include "resources/resource.h"

namespace {

using framework::ControlClass;
using framework::ControlTemplate;
using framework::DialogTemplate;

const DialogTemplate& Form(int id) {
    const auto form = framework::LoadDialogTemplate(id);
    EXPECT_TRUE(form.value.has_value()) << form.error;
    return **form.value;
}

bool Has(DWORD style, DWORD bits) {
    return (style & bits) == bits;
}

// What the dialog manager relies on in any form: identifiers that can be told
// apart, controls that lie inside the dialog.
void ExpectSoundForm(const DialogTemplate& form) {
    std::set<int> ids;
    for (const ControlTemplate& control : form.controls) {
        SCOPED_TRACE(control.caption + " " + std::to_string(control.id));
        if (control.id != -1) {
            EXPECT_TRUE(ids.insert(control.id).second) << "identifier used twice";
        }
        EXPECT_TRUE(Has(control.style, WS_CHILD | WS_VISIBLE));
        EXPECT_GE(control.x, 0);
        EXPECT_GE(control.y, 0);
        EXPECT_LE(control.x + control.width, form.width);
        EXPECT_LE(control.y + control.height, form.height);
    }
}

TEST(Forms, MainDialogKeepsWhatItsCodeReliesOn) {
    const DialogTemplate& form = Form(IDD_MAIN_DIALOG);
    ExpectSoundForm(form);
    EXPECT_EQ(form.style,
              WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_SETFONT);
    EXPECT_EQ(form.extendedStyle, WS_EX_APPWINDOW);
    EXPECT_EQ(std::vector<int>({form.width, form.height}), std::vector<int>({347, 228}));
    EXPECT_EQ(form.title, "Wertomat");
    EXPECT_EQ(form.font.face, "Arial");
    EXPECT_EQ(form.font.points, 12);

    // The radio group: opened by WS_GROUP on its first button, one button per
    // polynomial in catalogue order, closed by the next WS_GROUP.
    const auto first =
        std::find_if(form.controls.begin(), form.controls.end(),
                     [](const ControlTemplate& c) { return c.id == IDC_FUNCTION_0; });
    ASSERT_NE(first, form.controls.end());
    const std::vector<std::string> captions{"Y = 2*x\xB3 - 3*x\xB2 + 4*x -5",
                                            "Y = 4*x\xB3 - 2*x\xB2 - 4*x +5",
                                            "Y = -0,5*x\xB3 +0,4*x\xB2 + 4*x +33"};
    ASSERT_EQ(captions.size(), static_cast<std::size_t>(wertomat::kFunctionCount));
    ASSERT_GT(std::distance(first, form.controls.end()), wertomat::kFunctionCount);
    for (std::size_t i = 0; i < captions.size(); ++i) {
        const ControlTemplate& radio = first[static_cast<std::ptrdiff_t>(i)];
        EXPECT_EQ(radio.controlClass, ControlClass::Button);
        EXPECT_EQ(radio.style & BS_TYPEMASK, BS_AUTORADIOBUTTON);
        EXPECT_EQ(Has(radio.style, WS_GROUP), i == 0);
        EXPECT_FALSE(Has(radio.style, WS_TABSTOP));
        EXPECT_EQ(radio.caption, captions[i]);
    }
    EXPECT_TRUE(Has(first[wertomat::kFunctionCount].style, WS_GROUP));

    std::vector<int> tabStops;
    for (const ControlTemplate& control : form.controls) {
        EXPECT_EQ(control.caption.find('&'), std::string::npos) << "no mnemonics on this form";
        if (control.controlClass == ControlClass::Button) {
            EXPECT_NE(control.style & BS_TYPEMASK, BS_DEFPUSHBUTTON) << "no default button";
        }
        if (Has(control.style, WS_TABSTOP)) {
            tabStops.push_back(control.id);
        }
    }
    EXPECT_EQ(tabStops,
              std::vector<int>({IDC_XA, IDC_XSW, IDC_XE, IDC_RESULTS, IDC_COMPUTE, IDCANCEL}));
}

TEST(Forms, AboutBoxShowsTheIconAndItsNameLiterally) {
    const DialogTemplate& form = Form(IDD_ABOUT_DIALOG);
    ExpectSoundForm(form);
    EXPECT_EQ(form.style,
              WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_FIXEDSYS);
    EXPECT_EQ(form.title,
              "Info \xFC"
              "ber Wertomat");
    EXPECT_EQ(form.font.face, "MS Shell Dlg");
    EXPECT_EQ(form.font.characterSet, 1);
    ASSERT_EQ(form.controls.size(), 4u);
    EXPECT_EQ(form.controls[0].style & SS_TYPEMASK, SS_ICON);
    EXPECT_EQ(form.controls[0].iconId, IDI_MAIN_ICON);
    EXPECT_EQ(form.controls[1].caption, "Wertomat, Version 1.0");
    EXPECT_TRUE(Has(form.controls[1].style, SS_NOPREFIX | WS_GROUP));
    EXPECT_EQ(form.controls[3].id, IDOK);
    EXPECT_EQ(form.controls[3].style & BS_TYPEMASK, BS_DEFPUSHBUTTON);
}

TEST(ResourceFile, HoldsEachResourceInItsLanguage) {
    const auto entries = framework::ReadResourceFile(framework::ProgramResources().resourceFile);
    ASSERT_TRUE(entries.value.has_value()) << entries.error;
    std::vector<std::pair<int, int>> typesAndLanguages;
    for (const framework::ResourceEntry& entry : *entries.value) {
        const int type = std::get<std::uint16_t>(entry.type);
        const int expected =
            type == static_cast<int>(framework::ResourceType::Manifest) ? 1033 : 1031;
        EXPECT_EQ(entry.language, expected) << "type " << type;
        typesAndLanguages.emplace_back(type, entry.language);
    }
    // 13 icon images, one group, two dialogs, one string block, the version and the manifest.
    EXPECT_EQ(entries.value->size(), 13u + 1 + 2 + 1 + 1 + 1);

    const framework::ResourceEntry* manifest =
        framework::FindResourceEntry(*entries.value, framework::ResourceType::Manifest, 1);
    ASSERT_NE(manifest, nullptr);
    std::ifstream file(WERTOMAT_RESOURCES_DIR "/wertomat.manifest", std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    EXPECT_EQ(std::string(manifest->data.begin(), manifest->data.end()), bytes);

    // The string block of 96 to 111 holds 101 alone.
    for (UINT id = 96; id < 112; ++id) {
        EXPECT_EQ(framework::LoadProgramString(id).value.has_value(), id == IDS_ABOUT_MENU_TEXT);
    }
    EXPECT_EQ(framework::LoadProgramString(IDS_ABOUT_MENU_TEXT).value,
              "&Info \xFC"
              "ber Wertomat...");
    EXPECT_EQ(framework::ApplicationName(), "Wertomat");
}

TEST(ResourceFile, DamagedFilesAreRefusedWithAReason) {
    const std::span<const std::uint8_t> file = framework::ProgramResources().resourceFile;
    // Cut anywhere inside a resource: refused, never read past the end.
    for (std::size_t length = 1; length < file.size(); length += 7) {
        const auto cut = framework::ReadResourceFile(file.first(length));
        if (!cut.value) {
            EXPECT_FALSE(cut.error.empty());
        }
    }
    const auto entries = framework::ReadResourceFile(file);
    const framework::ResourceEntry* dialog = framework::FindResourceEntry(
        *entries.value, framework::ResourceType::Dialog, IDD_MAIN_DIALOG);
    ASSERT_NE(dialog, nullptr);
    for (std::size_t length = 0; length < dialog->data.size(); ++length) {
        const auto form = framework::ReadDialogTemplate(dialog->data.first(length));
        EXPECT_FALSE(form.value.has_value()) << length;
        EXPECT_FALSE(form.error.empty());
    }
    std::vector<std::uint8_t> wrongSize(file.begin(), file.end());
    wrongSize[4] = 0x30;  // the first header's size
    EXPECT_FALSE(framework::ReadResourceFile(wrongSize).value.has_value());
    EXPECT_FALSE(framework::LoadDialogTemplate(4711).value.has_value());
}

}  // namespace
