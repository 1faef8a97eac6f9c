#include "MenuItems.h"

#include "ErrorReport.h"

#include <QAction>
#include <QMenu>
#include <QProxyStyle>
#include <QStyleOptionMenuItem>
#include <QWidget>

namespace {
// The style draws a menu caption cut in the middle ("競艇場ﾃｰ…Kﾉ)") when it
// is narrower than the text needs, and it measures captions with Japanese
// text and two "&" marks too narrow. This style widens each item to the
// width at which the whole caption is drawn.
class WholeCaptionStyle : public QProxyStyle {
public:
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override
    {
        QSize result = QProxyStyle::sizeFromContents(type, option, size, widget);
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        if (type != CT_MenuItem || !item || item->menuItemType == QStyleOptionMenuItem::Separator)
            return result;
        const QString caption = item->text.section(QLatin1Char('\t'), 0, 0);
        const QFontMetrics& metrics = item->fontMetrics;
        const int flags = Qt::TextSingleLine | Qt::TextShowMnemonic;
        const int measured = metrics.boundingRect(QRect(), flags, caption).width();
        int needed = measured;
        const int limit = measured + 8 * metrics.averageCharWidth();
        while (needed < limit && metrics.elidedText(caption, Qt::ElideMiddle, needed, Qt::TextShowMnemonic) != caption)
            ++needed;
        result.rwidth() += needed - measured;
        return result;
    }
};

QStyle* wholeCaptionStyle()
{
    // Built on the application's style; lives as long as the program.
    static QStyle* style = new WholeCaptionStyle;
    return style;
}
}

QAction* AddMenuItem(QWidget* menu, const QString& objectName, const QString& caption, QObject* owner,
                     std::function<void()> handler)
{
    if (auto* popup = qobject_cast<QMenu*>(menu); popup && popup->style() != wholeCaptionStyle())
        popup->setStyle(wholeCaptionStyle());
    auto* action = new QAction(caption, menu);
    action->setObjectName(objectName);
    menu->addAction(action);
    QObject::connect(action, &QAction::triggered, owner, [handler = std::move(handler)] { Guarded(handler); });
    return action;
}
