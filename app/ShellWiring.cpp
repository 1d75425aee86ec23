#include "app/ShellWiring.h"

#include "app/AquariumApp.h"
#include "ui/ControlBar.h"
#include "view/AquariumView.h"

ShellWiring::ShellWiring(ControlBar& bar, AquariumView& view) : m_bar(bar), m_view(view)
{
    m_view.SetStartClock(&AquariumApp::MillisecondsSinceStart);
    ConnectView();
    ConnectBar();
    AquariumApp::AddShutdownHook([this] { SaveOnExit(); });
}

ShellWiring::~ShellWiring() = default;

void ShellWiring::ConnectView()
{
    // The view has released its scene and context before it asks to end.
    connect(&m_view, &AquariumView::exitRequested, this, [] { AquariumApp::EndProcess(0); });
}

void ShellWiring::ConnectBar() {}

void ShellWiring::SaveOnExit() {}
