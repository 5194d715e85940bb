#pragma once

// A window that exists from its first reference until it is unloaded. The first reference builds
// it from its design and runs its load handler before the caller goes on; unloading runs its
// unload handler and discards it, so the next reference builds it afresh. The window object is
// deleted once control returns to the event loop, because it may be unloaded from inside one of
// its own handlers.

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

namespace spindeck::ui {

template <class Form> class FormSlot {
public:
    using Factory = std::function<std::unique_ptr<Form>()>;

    explicit FormSlot(Factory factory) : m_factory(std::move(factory)) {}

    [[nodiscard]] bool loaded() const { return m_form != nullptr; }

    Form& get() {
        if (!m_form) {
            m_form = m_factory();
            m_form->load();
        }
        return *m_form;
    }

    void unload() {
        if (!m_form) {
            return;
        }
        std::unique_ptr<Form> form = std::move(m_form);
        form->unload();
        form->hide();
        form.release()->deleteLater();
    }

private:
    Factory m_factory;
    std::unique_ptr<Form> m_form;
};

} // namespace spindeck::ui
