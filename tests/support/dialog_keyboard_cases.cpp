#include "tests/support/dialog_keyboard_cases.h"

namespace dialog_keyboard_cases {
namespace {

using framework::ControlClass;
using framework::ControlTemplate;

ControlTemplate Radio(int id, bool startsGroup = false) {
    return {
        id,
        ControlClass::Button,
        "Radio",
        0,
        10,
        10 + 12 * (id % 10),
        60,
        10,
        WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON | (startsGroup ? WS_GROUP | WS_TABSTOP : 0U)};
}
ControlTemplate Edit(int id) {
    return {id,
            ControlClass::Edit,
            "",
            0,
            80,
            10,
            40,
            12,
            WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL};
}
ControlTemplate Button(int id, bool isDefault) {
    return {id,
            ControlClass::Button,
            "Knopf",
            0,
            80,
            40 + 14 * (id % 10),
            40,
            12,
            WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP |
                (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON)};
}

ControlTemplate Label(int id, const char* caption = "Feld") {
    return {id, ControlClass::Static, caption, 0, 10, 10, 30, 10, WS_CHILD | WS_VISIBLE | SS_LEFT};
}
ControlTemplate Disabled(ControlTemplate control) {
    control.style |= WS_DISABLED;
    return control;
}

}  // namespace

framework::DialogTemplate TemplateOf(const std::vector<framework::ControlTemplate>& controls) {
    framework::DialogTemplate form;
    form.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT | DS_MODALFRAME;
    form.width = 140;
    form.height = 100;
    form.title = "Tasten";
    form.font = {"MS Shell Dlg", 8, 400, false, 1};
    form.controls = controls;
    return form;
}

const std::vector<Case>& Cases() {
    // Two groups of radio buttons: 101-103 (the first starts the dialog's
    // first group), then an edit that starts a group, then 111-112.
    const std::vector<ControlTemplate> twoGroups = {
        Radio(101, true), Radio(102), Radio(103),          Edit(104),
        Radio(111, true), Radio(112), Button(IDOK, false), Button(IDCANCEL, false)};
    const std::vector<ControlTemplate> withDefault = {Edit(201), Button(205, false),
                                                      Button(206, true)};
    const std::vector<ControlTemplate> loneRadio = {Radio(301, true), Edit(302),
                                                    Button(IDOK, true)};
    const std::vector<ControlTemplate> fields = {Edit(401),           Label(-1),
                                                 Disabled(Edit(402)), Edit(403),
                                                 Button(IDOK, true),  Button(IDCANCEL, false)};
    const std::vector<ControlTemplate> labelled = {
        Label(-1, "&Anfang"), Edit(501), Label(-1, "&Ende"), Edit(502), Button(IDOK, true)};
    static const std::vector<Case> cases = {
        {"AltWithALabelsLetterFocusesTheFieldAfterIt", labelled, 1, Key::AltE, 3, 0},
        {"AltWithTheFirstLabelsLetterGoesBack", labelled, 3, Key::AltA, 1, 0},
        {"AltWithNoControlsLetterKeepsTheFocus", labelled, 1, Key::AltZ, 1, 0},
        {"OpenedTheFirstTabStopHasTheFocus", fields, 0, Key::Opened, 0, 0},
        {"OpenedAfterALabelTheFirstFieldHasIt", labelled, 0, Key::Opened, 1, 0},
        {"EscapeIsCancel", fields, 3, Key::Escape, 3, IDCANCEL},
        {"TabSkipsLabelsAndDisabledControls", fields, 0, Key::Tab, 3, 0},
        {"ShiftTabEntersARadioGroupAtItsTabStop", twoGroups, 3, Key::ShiftTab, 0, 0},
        {"TabWrapsToTheFirstTabStop", fields, 5, Key::Tab, 0, 0},
        {"ShiftTabMovesBackOverThemToo", fields, 3, Key::ShiftTab, 0, 0},
        {"ShiftTabWrapsToTheLastTabStop", fields, 0, Key::ShiftTab, 5, 0},
        {"DownMovesToTheNextRadioAndChecksIt", twoGroups, 0, Key::Down, 1, 102},
        {"RightMovesLikeDown", twoGroups, 1, Key::Right, 2, 103},
        {"DownWrapsToTheGroupsFirst", twoGroups, 2, Key::Down, 0, 101},
        {"UpWrapsToTheGroupsLast", twoGroups, 0, Key::Up, 2, 103},
        {"LeftMovesLikeUp", twoGroups, 2, Key::Left, 1, 102},
        {"AGroupEndsAtTheNextWsGroup", twoGroups, 5, Key::Down, 4, 111},
        {"ARadioAloneInItsGroupKeepsTheFocusAndIsChecked", loneRadio, 0, Key::Down, 0, 301},
        {"EnterInAFieldIsOkWithoutADefaultButton", twoGroups, 3, Key::Enter, 3, IDOK},
        {"EnterInAFieldIsTheDefaultButtonsCommand", withDefault, 0, Key::Enter, 0, 206},
    };
    return cases;
}

}  // namespace dialog_keyboard_cases
