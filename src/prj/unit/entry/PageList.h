#pragma once

#include <QListWidget>

class QTabWidget;

// The pages of a page control listed one under the other in place of its
// tabs, so that many pages are all in sight at once. A click on a row shows
// its page; the row follows the page shown, and stays on it when the page
// control keeps its page (a record being edited).
class PageList : public QListWidget
{
    Q_OBJECT

public:
    explicit PageList(QTabWidget *pages, QWidget *parent = nullptr);

    // As wide as the longest caption, as tall as every row.
    QSize sizeHint() const override;

private:
    QTabWidget *m_pages;
};
