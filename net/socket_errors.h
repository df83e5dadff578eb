// The names under which socket errors are shown to the user.
#pragma once

class CParametersDlg;

// The name of a Windows Sockets error code; "Unrecognized Error" for codes the table lacks.
const char* SocketErrorText(int errorCode);

// Shows the name of the thread's last socket error, raised through the dialog object. Called
// straight after the message that names the failing step, before any clean-up.
void ReportSocketError(CParametersDlg& dialog);
