#include "ButtonNames.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>

namespace {
class ButtonNamer : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Polish && event->type() != QEvent::ToolTipChange)
            return false;
        auto* button = qobject_cast<QAbstractButton*>(watched);
        if (!button || !button->text().isEmpty())
            return false;
        // Only a name this filter gave follows the tooltip; one set by the
        // window stays.
        const bool ours = button->property(kOwnName).toBool();
        if (button->accessibleName().isEmpty() || ours) {
            button->setAccessibleName(button->toolTip());
            button->setProperty(kOwnName, true);
        }
        return false;
    }

private:
    static constexpr const char* kOwnName = "vantorNamedByTooltip";
};
}

void NameButtonsForScreenReaders()
{
    static ButtonNamer* namer = nullptr;
    if (namer)
        return;
    namer = new ButtonNamer(qApp);
    qApp->installEventFilter(namer);
}
