#pragma once

#include <QString>

// Gives a control its objectName, the name tests and assistive tools find it by, and returns it.
template<typename T> T *named(T *widget, const QString &name)
{
    widget->setObjectName(name);
    return widget;
}
