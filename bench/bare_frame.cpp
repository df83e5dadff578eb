// The floor for the desktop program's start-up: a wx application that shows one empty frame.
#include <wx/app.h>
#include <wx/frame.h>

class BareFrameApp : public wxApp {
public:
    bool OnInit() override {
        auto* frame = new wxFrame(nullptr, wxID_ANY, "Bare frame");
        frame->Show();
        return true;
    }
};

wxIMPLEMENT_APP(BareFrameApp);
