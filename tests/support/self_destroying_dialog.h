// A main dialog whose "Berechnen" destroys its window, or the whole dialog
// object, from inside its own modal run: the run must end with -1 and touch
// nothing freed, on every backend.
#pragma once

#include "framework/dialog.h"
#include "framework/message_map.h"
#include "resources/resource.h"

namespace testing_support {

class SelfDestroyingDialog : public CDialogEx {
public:
    enum class Destroys { Window, WholeObject };

    explicit SelfDestroyingDialog(Destroys what) : CDialogEx(IDD_MAIN_DIALOG), what_(what) {}

    void OnCompute() {
        if (what_ == Destroys::WholeObject) {
            delete this;  // NOLINT(cppcoreguidelines-owning-memory): the case under test
        } else {
            DestroyWindow();
        }
    }

    const framework::MessageMap* GetMessageMap() const override { return &messageMap; }
    static const framework::MessageMap messageMap;

private:
    Destroys what_;
    static const framework::MessageMapEntry messageEntries[1];
};

// Defined once the class is complete: the entries cast to it.
inline const framework::MessageMapEntry SelfDestroyingDialog::messageEntries[1] = {
    framework::ButtonClickedEntry<IDC_COMPUTE, &SelfDestroyingDialog::OnCompute>(),
};
inline const framework::MessageMap SelfDestroyingDialog::messageMap{&CDialogEx::messageMap,
                                                                    messageEntries};

}  // namespace testing_support
