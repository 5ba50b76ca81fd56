#include "ui/accessible/accessible_names.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QHash>
#include <QLabel>
#include <QWidget>

namespace mirovax {

QString AccessibleCaption(const QString& caption)
{
    QString text = caption;
    // "&&" stands for a shown "&"; a single one marks the mnemonic.
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&')
            text.remove(i, 1);
    }
    text = text.trimmed();
    if (text.endsWith(u':'))
        text.chop(1);
    return text;
}

void NameControlsForAccessibility(QWidget* window)
{
    QHash<const QWidget*, QString> buddyCaptions;
    for (const QLabel* label : window->findChildren<QLabel*>()) {
        if (label->buddy() != nullptr)
            buddyCaptions.insert(label->buddy(), AccessibleCaption(label->text()));
    }
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        // A combo box's own field and list are read as part of it.
        bool part = false;
        for (const QWidget* up = widget->parentWidget(); up != nullptr && up != window;
             up = up->parentWidget())
            part = part || qobject_cast<const QComboBox*>(up) != nullptr;
        if (part)
            continue;
        if (widget->accessibleName().isEmpty()) {
            QString name = buddyCaptions.value(widget);
            if (const auto* button = qobject_cast<QAbstractButton*>(widget);
                button != nullptr && name.isEmpty())
                name = button->text().isEmpty() ? widget->toolTip() : AccessibleCaption(button->text());
            if (!name.isEmpty())
                widget->setAccessibleName(name);
        }
        if (widget->accessibleDescription().isEmpty() && !widget->toolTip().isEmpty())
            widget->setAccessibleDescription(widget->toolTip());
    }
}

} // namespace mirovax
