#pragma once

// The description box as screen readers and the tools that drive windows through the
// accessibility tree see it: a read-only, multi-line text whose name is the box's caption and
// whose characters are those of OemTextBox::toPlainText(). Every request is answered from the
// range it asks for; only a request for the whole text decodes the whole file.

class QAccessibleInterface;
class QObject;
class QString;

namespace spindeck::ui {

// The accessibility factory of the description boxes (for QAccessible::installFactory); null for
// any other object.
[[nodiscard]] QAccessibleInterface* oemTextBoxAccessible(const QString& className, QObject* object);

} // namespace spindeck::ui
