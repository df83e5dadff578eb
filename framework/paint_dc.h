// Painting: a pen, a font, text alignment and colour, and text output, within one paint request.
#pragma once

#include <string>

#include "framework/types.h"

class CFrameWnd;
class PaintSurface;  // defined by the framework implementation

class CPen {
public:
    CPen(int penStyle, int width, COLORREF color) : m_style(penStyle), m_width(width), m_color(color) {}
    int Style() const { return m_style; }
    int Width() const { return m_width; }
    COLORREF Color() const { return m_color; }

private:
    int m_style;
    int m_width;
    COLORREF m_color;
};

struct FontDescription {
    int height = 0;  // positive: the cell height (ascent plus descent) in logical units
    int width = 0;
    int escapement = 0;
    int orientation = 0;
    int weight = 0;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    BYTE charSet = 0;
    BYTE outPrecision = 0;
    BYTE clipPrecision = 0;
    BYTE quality = 0;
    BYTE pitchAndFamily = 0;
    std::string faceName;  // empty: the system chooses the face
};

class CFont {
public:
    BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                    BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision,
                    BYTE quality, BYTE pitchAndFamily, const char* faceName);
    const FontDescription& Description() const { return m_description; }

private:
    FontDescription m_description;
};

class CPaintDC {
public:
    explicit CPaintDC(CFrameWnd* window);  // begins painting
    ~CPaintDC();                           // ends painting
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

    void SelectObject(const CPen* pen);
    void SelectObject(const CFont* font);
    UINT SetTextAlign(UINT align);
    COLORREF SetTextColor(COLORREF color);
    int SetBkMode(int mode);
    BOOL TextOut(int x, int y, const std::string& text);

private:
    PaintSurface* m_surface;
};
