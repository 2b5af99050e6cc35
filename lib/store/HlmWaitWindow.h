#pragma once

#include <QString>

// The wait window of long loads (TfmHlmWait on the desktop). The store works
// without one: headless runs show nothing.
class HlmWaitWindow
{
public:
    virtual ~HlmWaitWindow() = default;
    // Shows the window centred, without border icons, with the SQL-wait
    // cursor, and lets pending window messages run.
    virtual void showWait(const QString &caption, const QString &text) = 0;
    // Closes the window and restores the cursor.
    virtual void hideWait() = 0;
};
