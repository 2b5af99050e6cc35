#include "TNrOutlookBar.h"

#include <QScrollArea>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

TNrOutlookBar::TNrOutlookBar(QWidget *parent)
    : QToolBox(parent)
{
    setMinimumWidth(150);
}

void TNrOutlookBar::clear()
{
    while (count() > 0) {
        QWidget *page = widget(0);
        removeItem(0);
        delete page;
    }
}

int TNrOutlookBar::addPage(const QString &caption, bool enabled)
{
    auto *scroll = new QScrollArea;
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto *column = new QWidget;
    auto *layout = new QVBoxLayout(column);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(2);
    layout->addStretch(1);
    scroll->setWidget(column);
    const int index = addItem(scroll, caption);
    setItemEnabled(index, enabled);
    return index;
}

QToolButton *TNrOutlookBar::addEntry(int page, const QString &caption, bool enabled, std::function<void()> onClick)
{
    auto *scroll = static_cast<QScrollArea *>(widget(page));
    auto *layout = static_cast<QVBoxLayout *>(scroll->widget()->layout());
    auto *button = new QToolButton;
    button->setText(caption);
    button->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    button->setIconSize(QSize(32, 32));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    button->setEnabled(enabled);
    connect(button, &QToolButton::clicked, this, std::move(onClick));
    layout->insertWidget(layout->count() - 1, button);
    // Every caption whole, the page's scroll bar shown or not.
    const QMargins margins = layout->contentsMargins();
    setMinimumWidth(std::max(minimumWidth(), button->sizeHint().width() + margins.left() + margins.right()
                                                 + style()->pixelMetric(QStyle::PM_ScrollBarExtent)
                                                 + 2 * frameWidth()));
    return button;
}

QToolButton *TNrOutlookBar::entry(const QString &pageCaption, const QString &caption) const
{
    for (int i = 0; i < count(); ++i) {
        if (itemText(i) != pageCaption)
            continue;
        for (QToolButton *b : widget(i)->findChildren<QToolButton *>()) {
            if (b->text() == caption)
                return b;
        }
    }
    return nullptr;
}

QStringList TNrOutlookBar::entryCaptions(int page) const
{
    QStringList captions;
    const auto *layout = static_cast<QScrollArea *>(widget(page))->widget()->layout();
    for (int i = 0; i < layout->count(); ++i) {
        if (auto *b = qobject_cast<QToolButton *>(layout->itemAt(i)->widget()))
            captions.append(b->text());
    }
    return captions;
}
