// The comparison window's own View commands (the toolbar and the status bar
// are the framework's).
#include "compare_window/compare_window.h"

#include "common/process_values.h"
#include "common/settings_names.h"
#include "framework/win_app.h"

// Show Changed Characters: marks on or off for the screen and for paper, kept
// for the next run.
void CompareWindow::OnShowChangedCharacters()
{
    g_values.showChangedCharacters = !g_values.showChangedCharacters;
    if (CWinApp* app = AfxGetApp())
        app->WriteProfileInt(SECTION_PREFERENCES, SETTING_SHOW_CHANGED_CHARACTERS,
                             g_values.showChangedCharacters ? 1 : 0);
    for (TextPane* pane : { &sourcePane, &masterPane })
        if (pane->m_hWnd)
            ::InvalidateRect(pane->m_hWnd, nullptr, TRUE);
}

void CompareWindow::OnUpdateShowChangedCharacters(CCmdUI* state)
{
    state->SetCheck(g_values.showChangedCharacters ? 1 : 0);
}
