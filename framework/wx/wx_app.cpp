// Start-up on wxWidgets: main() hands over to wx, whose OnInit runs the application object's
// InitInstance once; the loop then runs until the main window is destroyed.
#include "framework/win_app.h"
#include "framework/wx/wx_text.h"

#include <wx/app.h>

#include <cstdlib>

namespace {

// Settings that GTK reads from the environment when it starts. Each is set only where the user
// has not set it, and taken back once GTK has read it, so nothing of it reaches another program.
struct ToolkitSetting {
    const char* name;
    const char* value;
    bool setHere = false;
};

ToolkitSetting g_toolkitSettings[] = {
    // On a Wayland session GTK ignores the positions that windows ask for; through XWayland the
    // dialogs land where they should.
    {"GDK_BACKEND", "x11"},
    // A program that draws in two dimensions has no use for GL, and on a display without GL
    // acceleration GTK would load a software renderer of several tens of MiB.
    {"GDK_GL", "disable"},
};

void ApplyToolkitSettings() {
    for (ToolkitSetting& setting : g_toolkitSettings) {
        if (std::getenv(setting.name) == nullptr) {
            setting.setHere = ::setenv(setting.name, setting.value, 0) == 0;
        }
    }
}

void WithdrawToolkitSettings() {
    for (ToolkitSetting& setting : g_toolkitSettings) {
        if (setting.setHere) {
            ::unsetenv(setting.name);
            setting.setHere = false;
        }
    }
}

class WxApplication : public wxApp {
public:
    // The default would parse a command line; the program takes none.
    bool OnInit() override {
        WithdrawToolkitSettings();
        SetAppName(ToWx(AfxGetAppName()));
        CWinApp* application = AfxGetApp();
        return application != nullptr && application->InitInstance() != FALSE && AfxGetMainWnd() != nullptr;
    }
};

}  // namespace

wxIMPLEMENT_APP_NO_MAIN(WxApplication);

int main(int, char** argv) {
    ApplyToolkitSettings();
    // Only the program's name goes on: the program takes no options, nor does it pass any to GTK.
    int toolkitArgc = 1;
    char* toolkitArgv[] = {argv[0], nullptr};
    return wxEntry(toolkitArgc, toolkitArgv);
}
