#include <deque>
#include <utility>

#include "framework/dialog.h"
#include "framework/frame_wnd.h"
#include "framework/paint_dc.h"
#include "framework/scripted/scripted.h"
#include "framework/win_app.h"

class DialogWindow {
public:
    explicit DialogWindow(scripted::Showing showing) : m_showing(std::move(showing)) {}
    scripted::Showing m_showing;
    bool m_ended = false;
    int m_result = IDCANCEL;
};

class FrameWindow {
public:
    scripted::FrameState m_state;
};

class PaintSurface {
public:
    explicit PaintSurface(scripted::FrameState& state) : m_state(state) { m_state.paintedText.clear(); }
    scripted::FrameState& m_state;
    const CPen* m_pen = nullptr;
    const CFont* m_font = nullptr;
    UINT m_align = 0;
    COLORREF m_color = 0;
    int m_backgroundMode = 2;
};

namespace scripted {
namespace {
std::map<int, std::deque<Showing>> g_showings;
MessageSink g_sink;
}  // namespace

void QueueShowing(int templateId, Showing showing) { g_showings[templateId].push_back(std::move(showing)); }

void SetMessageSink(MessageSink sink) { g_sink = std::move(sink); }

FrameState& StateOf(CFrameWnd& frame) { return frame.Window()->m_state; }

void Paint(CFrameWnd& frame) { frame.Dispatch(WindowMessage::Paint); }

void Reset() {
    g_showings.clear();
    g_sink = nullptr;
}
}  // namespace scripted

CDialog::~CDialog() = default;

int CDialog::DoModal() {
    scripted::Showing showing;
    auto queued = scripted::g_showings.find(m_templateId);
    if (queued != scripted::g_showings.end() && !queued->second.empty()) {
        showing = std::move(queued->second.front());
        queued->second.pop_front();
    }
    DialogWindow window(std::move(showing));
    AttachWindow(&window);
    for (int command : window.m_showing.presses) {
        if (window.m_ended) {
            break;
        }
        Dispatch(WindowMessage::Command, command);
    }
    if (!window.m_ended) {
        Dispatch(WindowMessage::Command, IDCANCEL);
    }
    AttachWindow(nullptr);
    return window.m_result;
}

void CDialog::EndDialog(int result) {
    if (m_window != nullptr) {
        m_window->m_ended = true;
        m_window->m_result = result;
    }
}

int CDialog::GetDlgItemText(int controlId, std::string& text, int maxCount) const {
    text.clear();
    if (m_window == nullptr || maxCount <= 0) {
        return 0;
    }
    auto field = m_window->m_showing.fieldTexts.find(controlId);
    if (field != m_window->m_showing.fieldTexts.end()) {
        text = field->second.substr(0, static_cast<std::size_t>(maxCount - 1));
    }
    return static_cast<int>(text.size());
}

int CDialog::MessageBox(const std::string& text, const std::string& title) {
    if (scripted::g_sink) {
        scripted::g_sink({text, title.empty() ? AfxGetAppName() : title, m_window != nullptr ? m_templateId : 0});
    }
    return IDOK;
}

CFrameWnd::CFrameWnd() : m_window(new FrameWindow) {}

CFrameWnd::~CFrameWnd() { delete m_window; }

BOOL CFrameWnd::LoadFrame(int resourceId, unsigned) {
    m_window->m_state.loadedResourceId = resourceId;
    return TRUE;
}

void CFrameWnd::ShowWindow(int showCommand) { m_window->m_state.showCommand = showCommand; }

void CFrameWnd::UpdateWindow() { ++m_window->m_state.updates; }

void CFrameWnd::Invalidate(BOOL erase) {
    ++m_window->m_state.invalidations;
    if (erase) {
        ++m_window->m_state.erasingInvalidations;
    }
}

void CFrameWnd::GetClientRect(RECT* rect) const { *rect = m_window->m_state.clientRect; }

// The scripted frame is owned by whoever made it; destroying only marks it.
void CFrameWnd::DestroyWindow() { m_window->m_state.destroyed = true; }

CPaintDC::CPaintDC(CFrameWnd* window) : m_surface(new PaintSurface(window->Window()->m_state)) {}

CPaintDC::~CPaintDC() { delete m_surface; }

void CPaintDC::SelectObject(const CPen* pen) { m_surface->m_pen = pen; }

void CPaintDC::SelectObject(const CFont* font) { m_surface->m_font = font; }

UINT CPaintDC::SetTextAlign(UINT align) { return std::exchange(m_surface->m_align, align); }

COLORREF CPaintDC::SetTextColor(COLORREF color) { return std::exchange(m_surface->m_color, color); }

int CPaintDC::SetBkMode(int mode) { return std::exchange(m_surface->m_backgroundMode, mode); }

BOOL CPaintDC::TextOut(int x, int y, const std::string& text) {
    const PaintSurface& s = *m_surface;
    const FontDescription font = s.m_font != nullptr ? s.m_font->Description() : FontDescription{};
    s.m_state.paintedText.push_back({x, y, text, s.m_align, s.m_color, s.m_backgroundMode, font.height,
                                     font.weight, font.italic, s.m_pen != nullptr ? s.m_pen->Width() : 0,
                                     s.m_pen != nullptr ? s.m_pen->Color() : 0});
    return TRUE;
}
