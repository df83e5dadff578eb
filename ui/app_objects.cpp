// One translation unit, so these are constructed in this order and destroyed in reverse.
#include "ui/app_objects.h"

CParametersDlg g_parametersDlg;
CAboutDlg g_aboutDlg;
CWrensetApp theApp;
