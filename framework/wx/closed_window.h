// A dialog closed before a blocking operation (the configuration exchange) must be gone from the
// screen for the whole wait. X requests are buffered until the toolkit's loop runs again, and the
// window the dialog covered repaints only from that loop, so both are done at once here.
#pragma once

// Before any wx header: wx defines TRUE and FALSE as macros, which the framework has as constants.
#include "framework/types.h"

class wxWindow;

// Sends the buffered requests and waits until the display has carried them out, then repaints
// coveredWindow (if any) and sends that too.
void ShowClosedWindowGone(wxWindow* coveredWindow);
