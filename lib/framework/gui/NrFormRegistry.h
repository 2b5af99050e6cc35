#pragma once

#include <QString>

#include <functional>

class QWidget;

// The window classes that commands create by name: each window class
// registers itself when the program starts, so that a command naming it in
// ClasseForm can create it. Names match without regard to case, as the
// class names of the original platform did.
namespace NrFormRegistry {

using Factory = std::function<QWidget *(QWidget *parent)>;

void registerClass(const QString &className, Factory factory);
// Null when no window class of that name was registered.
const Factory *find(const QString &className);

} // namespace NrFormRegistry
