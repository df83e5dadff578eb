#include "framework/frame_wnd.h"

const MessageMap& CFrameWnd::ClassMessageMap() {
    static const MessageMap map{&CCmdTarget::ClassMessageMap(), {}};
    return map;
}
