// The in-process window tests: one application object, the code pages, the
// GAUGE class and the shared pictures, as start-up would have them.
#define DOCTEST_CONFIG_IMPLEMENT
#include <doctest/doctest.h>

#include <commctrl.h>

#include "app/orvinta_app.h"
#include "app/settings.h"
#include "common/code_pages_win32.h"
#include "common/shared_resources.h"
#include "engine/gauge.h"

OrvintaApp theApp;

int main(int argc, char** argv)
{
    LoadPlatformCodePages();
    theApp.m_appName = "ORVINTA";
    theApp.SetRegistryKey(COMPANY_KEY);
    ::InitCommonControls();
    Gauge::Register();
    LoadSharedResources();
    doctest::Context context(argc, argv);
    return context.run();
}
