#pragma once

#include "HlmWaitWindow.h"

#include <QWidget>

#include <memory>

class QLabel;
class TNrCursorScope;

// The wait window of the table store's long loads: a small window without
// border icons, centred on the screen, with a caption and a line of text,
// shown with the SQL-wait cursor while the load runs.
class TfmHlmWait
    : public QWidget
    , public HlmWaitWindow
{
    Q_OBJECT

public:
    explicit TfmHlmWait(QWidget *parent = nullptr);
    ~TfmHlmWait() override;

    void showWait(const QString &caption, const QString &text) override;
    void hideWait() override;

private:
    QLabel *m_caption;
    QLabel *m_text;
    std::unique_ptr<TNrCursorScope> m_cursor;
};
