#pragma once

#include "framework/win_app.h"

class CWrensetApp : public CWinApp {
public:
    BOOL InitInstance() override;
};
