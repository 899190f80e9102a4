#include "ui/MainCategoryPicker.h"

#include "ui/Colors.h"

#include <QComboBox>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {
const QColor Navy(0, 0, 128);

class MainCategoryDelegate : public QStyledItemDelegate
{
public:
    MainCategoryDelegate(bool income, QObject *parent)
        : QStyledItemDelegate(parent)
        , m_income(income)
    { }
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
        const QModelIndex &index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        painter->fillRect(
            option.rect, selected ? option.palette.highlight() : option.palette.base());
        painter->setPen(selected ? option.palette.highlightedText().color()
                                 : mainCategoryColour(m_income, index.row()));
        painter->drawText(option.rect.adjusted(3, 0, -3, 0), Qt::AlignLeft | Qt::AlignVCenter,
            index.data().toString());
    }

private:
    bool m_income;
};
} // namespace

QColor mainCategoryColour(bool income, int position)
{
    return (income ? position == 3 : position == 0) ? winColor(Palette::Income) : Navy;
}

void drawMainCategories(QComboBox *picker, bool income)
{
    picker->setItemDelegate(new MainCategoryDelegate(income, picker));
}

void showChosenMainCategory(QComboBox *picker, bool income)
{
    const QColor colour = mainCategoryColour(income, picker->currentIndex());
    QPalette palette = picker->palette();
    // Only the enabled look takes the colour, so a locked picker still shows as greyed.
    for (const QPalette::ColorGroup group : { QPalette::Active, QPalette::Inactive }) {
        palette.setColor(group, QPalette::ButtonText, colour);
        palette.setColor(group, QPalette::Text, colour);
    }
    picker->setPalette(palette);
}
