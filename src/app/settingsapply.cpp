#include "settingsapply.h"

#include "install/installform.h"
#include "mainform.h"
#include "ui/twips.h"

namespace spindeck::app {

namespace {

using config::Element;
using config::Property;

QColor qColour(const config::Rgb& rgb) {
    return {rgb.red, rgb.green, rgb.blue};
}

QWidget* widgetOf(Element element, MainForm& main, Forms& forms) {
    switch (element) {
    case Element::frmQRV:
        return main.client();
    case Element::lblTitle:
        return main.lblTitle;
    case Element::drvList:
        return main.drvList;
    case Element::dirListBox:
        return main.dirListBox;
    case Element::imgLogo:
        return main.imgLogo;
    case Element::txtSpInfo:
        return main.txtSpInfo;
    case Element::txtDiz:
        return main.txtDiz;
    case Element::frmInstall:
        return &forms.install.get();
    case Element::lblInstTitle:
        return forms.install.get().lblInstTitle;
    case Element::imgInstLogo:
        return forms.install.get().imgInstLogo;
    case Element::InstDirBox:
        return forms.install.get().InstDirBox;
    case Element::InstDrvList:
        return forms.install.get().InstDrvList;
    default:
        return nullptr;
    }
}

void setGeometryPart(QWidget& widget, Property property, double twips) {
    QRect box = widget.geometry();
    const int pixels = ui::pixels(twips);
    switch (property) {
    case Property::Height:
        box.setHeight(pixels);
        break;
    case Property::Width:
        box.setWidth(pixels);
        break;
    case Property::Top:
        box.moveTop(pixels);
        break;
    case Property::Left:
        box.moveLeft(pixels);
        break;
    default:
        return;
    }
    widget.setGeometry(box);
}

void setStyle(QWidget& widget, Property property, int style) {
    if (auto* label = qobject_cast<ui::Label*>(&widget)) {
        property == Property::BorderStyle ? label->setBorderStyle(style) : label->setBackStyle(style);
    } else if (auto* image = qobject_cast<ui::Image*>(&widget); image != nullptr && property == Property::BorderStyle) {
        image->setBorderStyle(style);
    }
}

void setText(QWidget& widget, Property property, const std::string& text, ui::Services& services) {
    const QString value = QString::fromStdString(text);
    if (property == Property::FontName) {
        ui::setFontName(widget, value);
    } else if (property == Property::Caption) {
        if (auto* label = qobject_cast<QLabel*>(&widget)) {
            label->setText(value);
        }
    } else if (property == Property::Picture) {
        auto* image = qobject_cast<ui::Image*>(&widget);
        if (auto picture = ui::loadPicture(services.files, text); picture && image != nullptr) {
            image->setPicture(*picture);
        } else if (!picture) {
            services.toolkit.reportProblem("picture " + picture.error().reason);
        }
    }
}

void applyToWidget(QWidget& widget, const config::SettingAction& action, ui::Services& services) {
    const Property property = action.row->property;
    if (const auto* rgb = std::get_if<config::Rgb>(&action.value)) {
        property == Property::BackColor ? ui::setBackColor(widget, qColour(*rgb))
                                        : ui::setForeColor(widget, qColour(*rgb));
    } else if (const auto* twips = std::get_if<double>(&action.value)) {
        setGeometryPart(widget, property, *twips);
    } else if (const auto* style = std::get_if<int>(&action.value)) {
        setStyle(widget, property, *style);
    } else if (const auto* text = std::get_if<std::string>(&action.value)) {
        setText(widget, property, *text, services);
    }
}

void reportKept(const config::SettingAction& action, ui::Services& services) {
    const auto* kept = std::get_if<config::Keep>(&action.value);
    if (kept != nullptr && !kept->problem.empty()) {
        services.toolkit.reportProblem(
            QString("QRV.INI line %1: %2: %3")
                .arg(action.line)
                .arg(QString::fromStdString(std::string(action.row->key)), QString::fromStdString(kept->problem)));
    }
}

} // namespace

void applySettings(const std::vector<config::SettingAction>& actions, MainForm& main, Forms& forms,
                   ui::Services& services) {
    for (const auto& action : actions) {
        reportKept(action, services);
        const Element element = action.row->element;
        if (element == Element::mnuConfirm) {
            if (const auto* checked = std::get_if<bool>(&action.value)) {
                main.mnuConfirm->setChecked(*checked);
            }
        } else if (element == Element::SharedSettings) {
            config::applyToSharedSettings(action, services.settings);
        } else if (QWidget* widget = widgetOf(element, main, forms)) {
            applyToWidget(*widget, action, services);
        }
    }
}

} // namespace spindeck::app
