// The program's static objects, defined together in app_objects.cpp.
#pragma once

#include "ui/about_dlg.h"
#include "ui/wrenset_app.h"
#include "unit/parameters_dlg.h"

extern CParametersDlg g_parametersDlg;
extern CAboutDlg g_aboutDlg;
extern CWrensetApp theApp;
