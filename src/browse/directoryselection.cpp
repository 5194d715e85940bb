#include "directoryselection.h"

#include "diz.h"
#include "platform/codepage.h"
#include "platform/dospath.h"
#include "script/qrvtxt.h"

#include <fstream>

namespace spindeck::browse {

namespace {

bool presentAs(const std::string& found, std::string_view name) {
    return platform::dospath::equalsIgnoringCase(found, name) && found.size() == name.size();
}

// The first `count` bytes of a file and its length; nothing when it cannot be read.
struct FileHead {
    std::string bytes;
    std::uint64_t length = 0;
};
std::optional<FileHead> readHead(const platform::DosFileSystem& files, const std::string& dosPath, std::size_t count) {
    const auto host = files.resolve(dosPath);
    if (!host) {
        return std::nullopt;
    }
    std::error_code error;
    const auto length = std::filesystem::file_size(*host, error);
    std::ifstream in(*host, std::ios::binary);
    if (error || !in) {
        return std::nullopt;
    }
    FileHead head{std::string(static_cast<std::size_t>(std::min<std::uint64_t>(length, count)), '\0'), length};
    in.read(head.bytes.data(), static_cast<std::streamsize>(head.bytes.size()));
    head.bytes.resize(static_cast<std::size_t>(in.gcount()));
    return head;
}

} // namespace

DirectorySelection::DirectorySelection(ui::MainDesign& main, ui::Services& services, InstallTitleSetter setInstallTitle)
    : m_main(main), m_services(services), m_setInstallTitle(std::move(setInstallTitle)) {}

void DirectorySelection::select() {
    const std::string selected = m_main.dirListBox->list(m_main.dirListBox->listIndex()).toStdString();
    m_services.settings.gSelectedDir = selected;
    const std::string directory = selected.ends_with('\\') ? selected : selected + "\\";

    const bool diz = presentAs(m_services.files.findName(directory, "file_id.diz"), "FILE_ID.DIZ");
    const bool qrv = presentAs(m_services.files.findName(directory, "qrv.txt"), "QRV.TXT");
    playFoundCue(diz, qrv);
    m_main.cmdInstall->hide();
    if (qrv) {
        showDescription(directory);
    } else {
        m_main.frmSpInfo->hide();
    }
    if (diz) {
        showDiz(directory);
    } else {
        m_main.frmDiz->hide();
    }
}

void DirectorySelection::playFoundCue(bool diz, bool qrv) {
    const auto& settings = m_services.settings;
    if (!settings.gMainLoaded || !settings.gSoundOn || (!diz && !qrv)) {
        return;
    }
    const std::string& cue = diz && qrv ? settings.mFoundDizNQRV : (qrv ? settings.mFoundQRVTXT : settings.mFoundDiz);
    m_services.cues.sndPlaySoundA(m_services.programFile(cue), platform::CuePlayer::kAsync);
}

void DirectorySelection::showDescription(const std::string& directory) {
    m_main.txtSpInfo->clear();
    m_services.toolkit.setScreenPointer(ui::Toolkit::kHourglass);
    // A file that vanished since the search shows as an empty description.
    auto bytes = m_services.files.readFile(directory + "QRV.TXT");
    script::QrvDescription description = script::describe(bytes ? std::move(*bytes) : std::string());
    if (description.installName) {
        m_services.settings.gInstallName = *description.installName;
        m_setInstallTitle(QString::fromStdU16String(platform::ansiText(*description.installName)));
        m_main.cmdInstall->show();
    }
    m_main.txtSpInfo->setOemText(std::move(description.text));
    m_services.toolkit.setScreenPointer(ui::Toolkit::kDefault);
    m_main.frmSpInfo->show();
}

void DirectorySelection::showDiz(const std::string& directory) {
    m_services.toolkit.setScreenPointer(ui::Toolkit::kHourglass);
    // The box is emptied when the file vanished or is too short to show anything.
    const auto head = readHead(m_services.files, directory + "FILE_ID.DIZ", kDizCap);
    m_main.txtDiz->setOemText(head ? dizShown(head->bytes, head->length) : std::string());
    m_services.toolkit.setScreenPointer(ui::Toolkit::kDefault);
    m_main.frmDiz->show();
}

} // namespace spindeck::browse
