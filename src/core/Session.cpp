#include "core/Session.h"

#include <exception>

#include "core/firmware/HexText.h"
#include "core/firmware/HexWriter.h"

namespace hz {

Answer Session::MessageRelay::ask(MsgKind kind, const std::string& text, Buttons buttons)
{
    if (!listener || listener(kind, text))
        return m_to.ask(kind, text, buttons);
    return answerThatChangesNothing(buttons);
}

Session::Session(Prompter& prompter)
    : m_relay(prompter), image(m_relay), rows(m_relay), reader(image), identification(image, ident),
      addresses(image, rows, ident), history(image, addresses, pages, [this] {
          pages.ShowAgain({image, m_relay, ident.Identifier});
      })
{
    reader.onReadStart = [this](const std::string& name) {
        m_statusFile = {name, true};
        m_formatShown = false;
        m_typeShown = false;
    };
    reader.onImageReset = [this] { m_hostView.HidePages(); };
}

LoadOutcome Session::LoadFile(const std::string& fileName) { return afterReading(reader.ReadHexFile(fileName)); }

LoadOutcome Session::LoadStream(std::istream& in, const std::string& name)
{
    return afterReading(reader.ReadHexStream(in, name));
}

LoadOutcome Session::LoadLines(const std::vector<std::string>& lines, const std::string& fileName)
{
    return afterReading(reader.ReadHexLines(lines, fileName));
}

LoadOutcome Session::afterReading(LoadOutcome outcome)
{
    try {
        outcome = identifyAndDecode(outcome);
    } catch (const std::exception& e) {
        // A page's set-up or the identification failed part-way: what the window shows is half
        // of this file and half of the one before, so it ends as a load that stopped does.
        outcome = loadFailed(e.what());
    } catch (...) {
        outcome = loadFailed("Unbekannter Fehler");
    }
    if (outcome == LoadOutcome::Stopped)
        showNoFile();
    // Whatever the load got to, the window now shows the new file or no file at all: that is
    // the state unsaved changes are measured against.
    if (outcome == LoadOutcome::Done || outcome == LoadOutcome::Stopped) {
        history.startAfresh(); // the history starts with the file as loaded
    }
    return outcome;
}

LoadOutcome Session::identifyAndDecode(LoadOutcome outcome)
{
    if (outcome != LoadOutcome::Done)
        return outcome;
    loadCorrections.clear();
    m_stored = image.memory();

    // A file without a single record that carries data (an empty file, a text file, only the
    // address and end records) holds no firmware: there is nothing to identify or edit, and
    // "saving" it would only write the two fixed records.
    if (!image.RomFound && !image.EepromFound && !image.IdFound && !image.ConfigFound) {
        m_relay.tell(MsgKind::Error,
                     strprintf("Die Datei \"%s\" enthält keine Firmware: weder Programmspeicher noch EEPROM, "
                               "ID oder Config-Werte. Sie wurde nicht geladen.",
                               DisplayName(image.LastFileName).c_str()),
                     Buttons::Ok);
        return LoadOutcome::Stopped;
    }

    identification.IdentifyDecoder();
    identification.DetectAddressFormat();
    identification.ApplyDecoderType(m_hostView);
    m_typeShown = true;
    if (ident.NoAddressInput)
        ident.RedGreen = false;

    if (!reader.CheckRequiredRecords())
        return LoadOutcome::Stopped;

    m_formatShown = true;
    if (!ident.Mot && !ident.DCC)
        addresses.hideAllRows();

    if (!ident.NoAddressInput)
        addresses.DecodeRows([this](int maximum, int position) { m_view->SetProgress(maximum, position); });
    addresses.colourRows();
    loadCorrections = CollectLoadCorrections(m_stored, image, pages.shown());
    SaveEnabled = true;
    return LoadOutcome::Done;
}

LoadOutcome Session::loadFailed(const std::string& reason)
{
    m_relay.tell(MsgKind::Error,
                 strprintf("Die Datei \"%s\" konnte nicht angezeigt werden: %s\nSie wurde nicht geladen.",
                           image.LastFileName.c_str(), reason.c_str()),
                 Buttons::Ok);
    return LoadOutcome::Stopped;
}

void Session::showNoFile()
{
    m_hostView.HidePages();
    // Where the documentation links lead is the window's setting, not a fact of the file.
    const DocSite site = ident.Site;
    ident = IdentificationState{};
    ident.Site = site;
    ident.DocPage = DocAddress(site, nullptr);
    addresses.clearRows();
    loadCorrections.clear();
    m_formatShown = false;
    m_typeShown = false;
    m_hostView.ResetLayout();
    addresses.hideAllRows();
    m_view->FitHeader(ident.DecoderName);
    m_view->DocPageChanged(ident.DocPage);
    addresses.colourRows();
    SaveEnabled = false;
}

std::vector<pages::Page*> Session::shownPages()
{
    std::vector<pages::Page*> shown{&addresses};
    for (pages::Page* p : pages.shown())
        shown.push_back(p);
    return shown;
}

void Session::RedoLayout() { identification.RedoLayout(m_hostView); }

void Session::HostView::HidePages()
{
    m_s.pages.HidePages();
    m_s.view().HidePages();
}

void Session::HostView::ResetLayout()
{
    m_s.addresses.layOut(15, 0);
    m_s.view().ResetLayout();
}

void Session::HostView::ShowPage(int kind)
{
    if (m_s.setUpPages)
        m_s.pages.ShowPage(kind, {m_s.image, m_s.prompter(), m_s.ident.Identifier});
    m_s.view().ShowPage(kind);
}

bool Session::PrepareSave()
{
    if (!SaveEnabled) {
        m_relay.tell(MsgKind::Warning, kNoCompleteFile, Buttons::Ok);
        return false;
    }
    const bool accepted = pages.ConfirmPendingPageChanges(m_relay);
    // Working copies taken over are a step of their own, so that undo finds them even when
    // the save goes no further.
    history.noteEdit();
    if (!accepted)
        return false;
    if (!ident.NoAddressInput) {
        if (!addresses.ValidateRows())
            return false;
        addresses.EncodeRows();
        addresses.WriteRows();
        // The rows' codes in the image are what the rows show already: no step of their own
        // (an undo that changed nothing a user sees would look broken).
        history.amendStep();
    }
    return BuildHexLines(image) > 0;
}

bool Session::WriteBuiltLines(const std::string& path)
{
    if (!hz::WriteBuiltLines(image, path))
        return false;
    history.markSaved();
    return true;
}

bool Session::ConfirmDiscardChanges()
{
    if (!HasUnsavedChanges())
        return true;
    return m_relay.ask(MsgKind::Warning, kUnsavedChangesQuestion, Buttons::YesNoDefaultNo) == Answer::Yes;
}

} // namespace hz
