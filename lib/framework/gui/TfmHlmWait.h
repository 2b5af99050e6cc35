#pragma once

#include <QWidget>

#include <memory>

class QLabel;
class TNrCursorScope;

// The wait window of long loads: a small window without border icons,
// centred on the screen, with a caption and a line of text, shown with the
// SQL-wait cursor while the load runs.
class TfmHlmWait : public QWidget
{
    Q_OBJECT

public:
    explicit TfmHlmWait(QWidget *parent = nullptr);
    ~TfmHlmWait() override;

    // Shows the window and lets pending window messages run, so that it is
    // painted before the load starts.
    void showWait(const QString &caption, const QString &text);
    // Closes the window and restores the cursor.
    void hideWait();

private:
    QLabel *m_caption;
    QLabel *m_text;
    std::unique_ptr<TNrCursorScope> m_cursor;
};
