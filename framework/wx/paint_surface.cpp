#include "framework/frame_wnd.h"
#include "framework/paint_dc.h"
#include "framework/wx/frame_window.h"
#include "framework/wx/wx_text.h"

#include <wx/dcclient.h>
#include <wx/font.h>
#include <wx/pen.h>

#include <utility>

namespace {

constexpr int kOpaque = 2;  // the background mode a paint context starts with

wxColour ToWxColour(COLORREF color) { return wxColour(GetRValue(color), GetGValue(color), GetBValue(color)); }

// A positive height is the cell height, ascent plus descent, which is also what wx's pixel size
// of a font measures.
wxFont ToWxFont(const FontDescription& description) {
    wxFontInfo font = description.height > 0 ? wxFontInfo(wxSize(0, description.height)) : wxFontInfo();
    if (!description.faceName.empty()) {
        font.FaceName(ToWx(description.faceName));
    }
    font.Weight(description.weight > 0 ? description.weight : wxFONTWEIGHT_NORMAL)
        .Italic(description.italic)
        .Underlined(description.underline)
        .Strikethrough(description.strikeOut);
    return wxFont(font);
}

}  // namespace

class PaintSurface {
public:
    explicit PaintSurface(wxWindow* window) : dc(window) {
        dc.SetTextForeground(*wxBLACK);
        dc.SetTextBackground(*wxWHITE);
        dc.SetBackgroundMode(wxBRUSHSTYLE_SOLID);
    }
    wxPaintDC dc;
    UINT align = 0;
    COLORREF color = 0;
    int backgroundMode = kOpaque;
};

CPaintDC::CPaintDC(CFrameWnd* window) : m_surface(new PaintSurface(window->Window()->ClientArea())) {}

CPaintDC::~CPaintDC() { delete m_surface; }

void CPaintDC::SelectObject(const CPen* pen) {
    m_surface->dc.SetPen(wxPen(ToWxColour(pen->Color()), pen->Width(), wxPENSTYLE_SOLID));
}

void CPaintDC::SelectObject(const CFont* font) { m_surface->dc.SetFont(ToWxFont(font->Description())); }

UINT CPaintDC::SetTextAlign(UINT align) { return std::exchange(m_surface->align, align); }

COLORREF CPaintDC::SetTextColor(COLORREF color) {
    m_surface->dc.SetTextForeground(ToWxColour(color));
    return std::exchange(m_surface->color, color);
}

int CPaintDC::SetBkMode(int mode) {
    m_surface->dc.SetBackgroundMode(mode == TRANSPARENT ? wxBRUSHSTYLE_TRANSPARENT : wxBRUSHSTYLE_SOLID);
    return std::exchange(m_surface->backgroundMode, mode);
}

// wx draws text from its top-left corner; the reference point given here may be the centre of the
// text's width and its baseline instead.
BOOL CPaintDC::TextOut(int x, int y, const std::string& text) {
    const wxString wxText = ToWx(text);
    wxCoord width = 0;
    wxCoord height = 0;
    wxCoord descent = 0;
    m_surface->dc.GetTextExtent(wxText, &width, &height, &descent);
    if ((m_surface->align & TA_CENTER) == TA_CENTER) {
        x -= width / 2;
    }
    if ((m_surface->align & TA_BASELINE) == TA_BASELINE) {
        y -= height - descent;
    }
    m_surface->dc.DrawText(wxText, x, y);
    return TRUE;
}
