#include "framework/win_app.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "framework/frame_wnd.h"

namespace {
CWinApp* g_application = nullptr;

std::string ExecutableBaseName() {
    std::error_code error;
    std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        path = program_invocation_short_name;
    }
    return path.stem().string();
}
}  // namespace

CWinApp::CWinApp() { g_application = this; }

CWinApp::~CWinApp() {
    if (g_application == this) {
        g_application = nullptr;
    }
}

CWinApp* AfxGetApp() { return g_application; }

CFrameWnd* AfxGetMainWnd() { return g_application != nullptr ? g_application->m_pMainWnd : nullptr; }

const std::string& AfxGetAppName() {
    static const std::string name = ExecutableBaseName();
    return name;
}
