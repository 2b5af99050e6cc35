#pragma once

#include <QTabWidget>

// The section pages of a Prospetto. The sections' captions are long: each
// stands whole on two lines, so that every section is in sight without the
// tab bar's scroll arrows; the tool tip holds the caption on one line.
class SectionTabs : public QTabWidget
{
public:
    explicit SectionTabs(QWidget *parent);

    int addSection(QWidget *page, const QString &caption);
};
