#pragma once

#include <QToolBox>

#include <functional>

class QToolButton;

// The outlook-style bar on the left of the main window: pages stacked under
// their captions, each a column of command entries.
class TNrOutlookBar : public QToolBox
{
    Q_OBJECT

public:
    explicit TNrOutlookBar(QWidget *parent = nullptr);

    void clear();
    // Returns the index of the new page.
    int addPage(const QString &caption, bool enabled);
    QToolButton *addEntry(int page, const QString &caption, bool enabled, std::function<void()> onClick);
    // The entry of a page with that caption, or null.
    QToolButton *entry(const QString &pageCaption, const QString &caption) const;
    QStringList entryCaptions(int page) const;
};
