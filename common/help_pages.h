// The help topics that windows and dialogs open by number, and the page of
// ORVINTA.CHM each one shows. halibut names a page after its section's
// keyword in help/orvinta.but; tests/help/test_chm_pages.py checks this table
// against the built file and against help/contexts.map.
#pragma once

enum HelpTopic : unsigned {
    HELP_TOPIC_ABOUT = 3,
    HELP_TOPIC_COMPARE_FILES = 4,
    HELP_TOPIC_PREFERENCES = 5,
    HELP_TOPIC_FILE_TYPE = 6,
    HELP_TOPIC_DIRECTORY_WINDOW = 7,
    HELP_TOPIC_FILE_LIST = 8,
};

struct HelpPage {
    unsigned topic;
    const char* page;
};

// The page for a topic number; null for a number without one.
inline const char* HelpPageFor(unsigned topic)
{
    static const HelpPage pages[] = {
        { HELP_TOPIC_ABOUT, "about.html" },
        { HELP_TOPIC_COMPARE_FILES, "comparefiles.html" },
        { HELP_TOPIC_PREFERENCES, "prefs.html" },
        { HELP_TOPIC_FILE_TYPE, "filetype.html" },
        { HELP_TOPIC_DIRECTORY_WINDOW, "dirwin.html" },
        { HELP_TOPIC_FILE_LIST, "filelist.html" },
    };
    for (const HelpPage& entry : pages) {
        if (entry.topic == topic)
            return entry.page;
    }
    return nullptr;
}
