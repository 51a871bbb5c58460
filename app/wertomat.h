// The application: runs the main dialog and ends when it closes.
#pragma once

#include "framework/winapp.h"

class CWertomatApp : public CWinApp {
public:
    CWertomatApp();

    BOOL InitInstance() override;

    const framework::MessageMap* GetMessageMap() const override { return &messageMap; }
    static const framework::MessageMap messageMap;

private:
    static const framework::MessageMapEntry messageEntries[];
};

extern CWertomatApp theApp;
