// The headless framework implementation: what the user types and presses in each showing of a
// dialog is given beforehand, and every message box goes to a sink. The command-line front and
// the tests drive the program's dialogs through it.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "framework/types.h"

class CFrameWnd;

namespace scripted {

struct Showing {
    std::map<int, std::string> fieldTexts;  // control id -> text typed into it
    std::vector<int> presses;               // command ids, in order; when they run out while the
                                            // dialog is still open, it is closed with IDCANCEL
};

struct ShownMessage {
    std::string text;
    std::string title;
    int ownerTemplateId;  // the dialog that owned the box, 0 for none
};

// The next DoModal of that template plays this showing; with none queued it ends as cancelled.
void QueueShowing(int templateId, Showing showing);

using MessageSink = std::function<void(const ShownMessage&)>;
void SetMessageSink(MessageSink sink);

struct TextOutput {
    int x;
    int y;
    std::string text;
    UINT align;
    COLORREF color;
    int backgroundMode;
    int fontHeight;
    int fontWeight;
    bool fontItalic;
    int penWidth;
    COLORREF penColor;
};

struct FrameState {
    int loadedResourceId = 0;
    int showCommand = -1;
    int updates = 0;
    int invalidations = 0;
    int erasingInvalidations = 0;
    bool destroyed = false;
    RECT clientRect{0, 0, 640, 480};
    std::vector<TextOutput> paintedText;  // of the last paint
};

FrameState& StateOf(CFrameWnd& frame);

// Delivers a paint request to the frame's message map, as the framework does on repaint.
void Paint(CFrameWnd& frame);

// Forgets queued showings and the sink.
void Reset();

}  // namespace scripted
