#pragma once

#include "Quadratura.h"

#include <QWidget>

// The year of one family of codes, month by month: for each month a bar of
// what was withheld beside a bar of what was paid, the month's name in red
// when some payment of it was late, and a legend.
class QuadraturaChart : public QWidget
{
    Q_OBJECT

public:
    using Months = std::array<QuadraturaMonth, 12>;

    explicit QuadraturaChart(QWidget *parent = nullptr);

    void setMonths(const Months &months);
    const Months &months() const { return m_months; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Months m_months{};
};
