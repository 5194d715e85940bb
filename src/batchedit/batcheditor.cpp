#include "batcheditor.h"

#include "batchtext.h"
#include "script/batchfile.h"
#include "ui/windows.h"

#include <QCloseEvent>

namespace spindeck::batchedit {

namespace {

std::string descriptionFile(const std::string& selectedDir) {
    return selectedDir.ends_with('\\') ? selectedDir + "qrv.txt" : selectedDir + "\\qrv.txt";
}

} // namespace

BatchEditor::BatchEditor(ui::Services& services, Links links)
    : ui::BatchEditorDesign(), m_services(services), m_links(std::move(links)) {
    connect(cmdExec, &QPushButton::clicked, this, &BatchEditor::executeRevision);
    connect(cmdCancel, &QPushButton::clicked, this, &BatchEditor::leave);
}

void BatchEditor::load() {
    ui::centreOnScreen(*this);
    showFile(*txtQRVTXT, descriptionFile(m_services.settings.gSelectedDir), false);
    showFile(*txtQRVBAT, std::string(script::kBatchFile), true);
}

// A file that cannot be read leaves its box empty, without a message.
void BatchEditor::showFile(QPlainTextEdit& box, const std::string& dosPath, bool reportTruncation) {
    m_services.toolkit.setScreenPointer(ui::Toolkit::kHourglass);
    const auto bytes = m_services.files.readFile(dosPath);
    const ShownFile shown = bytes ? shownPart(*bytes, bytes->size()) : ShownFile{};
    box.setPlainText(QString::fromStdU16String(editableText(shown.bytes)));
    m_services.toolkit.setScreenPointer(ui::Toolkit::kDefault);
    if (shown.truncated && reportTruncation) {
        m_services.toolkit.messageBox("Sorry, File Too Long To Edit!", ui::Toolkit::kOk, "Error!");
        box.setReadOnly(true);
    }
}

// Written through a temporary file renamed over the old one, so a failed write loses nothing.
void BatchEditor::executeRevision() {
    const std::string bytes = fileBytes(txtQRVBAT->document()->toRawText().toStdU16String()) + "\r\n";
    if (auto written = m_services.files.writeFile(script::kBatchFile, bytes); !written) {
        m_services.toolkit.messageBox("Cannot write " + QString::fromStdString(written.error().message()));
        return;
    }
    m_services.shell.SyncShell("c:\\qrv.bat", platform::BatchRunner::kNormalWindow);
}

void BatchEditor::leave() {
    if (m_leaving) {
        return;
    }
    m_leaving = true;
    (void)m_services.files.removeFile(script::kBatchFile); // already gone is fine
    const bool exitAfterwards = m_links.exitAfterInstallation();
    m_links.discard();
    m_links.showMainWindow();
    if (exitAfterwards) {
        m_links.exitProgram();
    }
}

void BatchEditor::closeEvent(QCloseEvent* event) {
    event->accept();
    leave();
}

} // namespace spindeck::batchedit
