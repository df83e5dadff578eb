#include "framework/paint_dc.h"

BOOL CFont::CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                       BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision,
                       BYTE quality, BYTE pitchAndFamily, const char* faceName) {
    m_description = FontDescription{height,         width,         escapement,      orientation,
                                    weight,         italic != 0,   underline != 0,  strikeOut != 0,
                                    charSet,        outPrecision,  clipPrecision,   quality,
                                    pitchAndFamily, faceName != nullptr ? faceName : ""};
    return TRUE;
}
