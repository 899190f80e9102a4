#include "dialogs/Help_Unit.h"

#include "app/Program.h"
#include "dialogs/FormHelpers.h"

#include <QGraphicsDropShadowEffect>
#include <QLabel>

namespace {
QLabel *centredLabel(QWidget *parent, const char *name, const QString &text, int y, int height)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAlignment(Qt::AlignCenter);
    label->setGeometry(4, y, parent->width() - 8, height);
    return label;
}
} // namespace

THelp_Form::THelp_Form(Program &program)
    : m_program(program)
{
    setObjectName(QStringLiteral("Help_Form"));
    setWindowTitle(QStringLiteral("說明"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
        | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
    setFixedSize(226, 168);
    m_minimiseApplication = false;

    ProductLabel = centredLabel(this, "ProductLabel", QStringLiteral("青禾理財簿"), 12, 32);
    ProductLabel->setFont(formFont(21, QFont::Bold));
    auto *shadow = new QGraphicsDropShadowEffect(ProductLabel);
    shadow->setOffset(2, 2);
    shadow->setBlurRadius(2);
    shadow->setColor(QColor(128, 128, 128));
    ProductLabel->setGraphicsEffect(shadow);

    BuildLabel = centredLabel(this, "BuildLabel", QStringLiteral("Build 2012.12.09"), 46, 16);
    QFont small = formFont(11);
    small.setItalic(true);
    BuildLabel->setFont(small);
    BuildLabel->setStyleSheet(QStringLiteral("color: #800000;"));

    PublisherLabel
        = centredLabel(this, "PublisherLabel", QStringLiteral("青禾軟體工作室 出品"), 72, 20);
    PublisherLabel->setFont(formFont(13));
    RightsLabel = centredLabel(this, "RightsLabel", QStringLiteral("版權所有，翻印必究"), 94, 20);
    RightsLabel->setFont(formFont(13));

    MailLabel = centredLabel(this, "MailLabel",
        QStringLiteral("<a href=\"mailto:service@qinghe.tw\">聯絡開發者</a>"), 126, 22);
    MailLabel->setFont(formFont(13));
    MailLabel->setTextFormat(Qt::RichText);
    MailLabel->setOpenExternalLinks(true);
    MailLabel->setToolTip(QStringLiteral("service@qinghe.tw"));
}

void THelp_Form::FormDblClick()
{
    hide();
}

void THelp_Form::mouseDoubleClickEvent(QMouseEvent *)
{
    FormDblClick();
}
