// The functions the web page calls in the core.
//
// A browser cannot wait inside a call for a click, so every call that may show a message takes
// the answers the user has given so far for this call ("ignore,yes", answer names as in
// `info --json`) and returns either that it is done or the next message to show
// (core/QuestionReplay.h). The page shows that message and makes the same call again with one
// more answer; until the call is done, the session stays as it was before the call. Every
// function returns one JSON object (UTF-8, valid until the next call):
//
//   {"done": true, "messages": [...], ...what the call gives}
//   {"done": false, "question": {"kind": "warning", "text": "...", "buttons": ["cancel", "ignore"],
//    "escape": "cancel"}, "messages": [...]}
//   {"done": false, "error": "..."}                  the call itself was wrong
//
// "messages" are the messages the answers answered, each with "kind", "text", "buttons" and
// "answer"; "escape" is the button that changes nothing (Escape, closing the message).

#include <emscripten.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "core/QuestionReplay.h"
#include "core/Session.h"
#include "core/StatusTexts.h"
#include "core/Version.h"
#include "core/catalogue/DocLinks.h"
#include "core/editor/Editor.h"
#include "core/editor/WindowLayout.h"
#include "core/firmware/FileSet.h"
#include "core/inspect/HexInfo.h"
#include "core/pages/PageAction.h"
#include "core/pages/common/Canvas.h"
#include "core/platform/Platform.h"
#include "core/tools/Json.h"
#include "core/tools/LayoutReport.h"
#include "core/tools/PageJson.h"
#include "core/tools/SessionJson.h"
#include "core/tools/SettingsDiff.h"
#include "core/tools/SettingsMigration.h"
#include "core/tools/SettingsSheet.h"

// The width of a text in the page's font, measured by the browser (a canvas in the font the
// page's style gives the frames); -1 where there is no page to measure in (Node.js).
// clang-format off
EM_JS(int, hz_measure_text, (const char* text), {
    if (typeof document === 'undefined')
        return -1;
    if (!Module.hzMeasure) {
        Module.hzMeasure = document.createElement('canvas').getContext('2d');
        Module.hzMeasure.font = getComputedStyle(document.body).getPropertyValue('--page-font') || '12px sans-serif';
    }
    return Math.ceil(Module.hzMeasure.measureText(UTF8ToString(text)).width);
});
// clang-format on

namespace {

using hz::Answer;
using hz::ReplayResult;
using hz::Session;
using hz::tools::jsonString;

struct WebFace {
    hz::QuestionReplay replay;
    // The window's operations over the replay's session; `next` over the session a load is
    // trying, until that load has come to its end.
    std::unique_ptr<hz::Editor> editor, next;
    std::string file;                              // the name the page gave the file
    bool loaded = false;                           // the last load went through
    std::vector<hz::BatchPrompter::Shown> opening; // the load's messages, for the state
    std::string saved;                             // the bytes of the last save
    std::string image;                             // the pixels of the last picture asked for
    std::vector<std::string> overviewFiles;        // the files put in for the next overview
    // The files opened together (the shown file's "folder" for "<" and ">"), and those put in
    // for the next open; an open replaces the set, so that "<" and ">" step only through the
    // files the user picked together.
    std::vector<std::string> folderFiles, pendingFiles;
    // What the page has been given of the controls (hz_view): the session it was, and per page
    // the last stamp it saw.
    const Session* viewed = nullptr;
    std::vector<std::pair<const hz::pages::Page*, unsigned>> seen;
    std::string reply; // what the last call returned
};

WebFace& face()
{
    static WebFace f;
    return f;
}

const char* reply(std::string text)
{
    face().reply = std::move(text);
    return face().reply.c_str();
}

const char* error(const std::string& what) { return reply("{\"done\": false, \"error\": " + jsonString(what) + "}"); }

// "ignore,yes" into answers; false for a name that is no answer.
bool parseAnswers(const char* text, std::vector<Answer>& answers)
{
    static const Answer all[] = {Answer::Ok, Answer::Cancel, Answer::Ignore, Answer::Yes, Answer::No};
    std::istringstream in(text ? text : "");
    std::string name;
    while (std::getline(in, name, ',')) {
        if (name.empty())
            continue;
        bool known = false;
        for (Answer a : all)
            if (name == hz::answerName(a)) {
                answers.push_back(a);
                known = true;
            }
        if (!known)
            return false;
    }
    return true;
}

std::string buttonsJson(hz::Buttons buttons)
{
    std::string s = "[";
    for (Answer a : hz::answersOf(buttons))
        s += (s.size() > 1 ? ", " : "") + jsonString(hz::answerName(a));
    return s + "]";
}

std::string messagesJson(const std::vector<hz::BatchPrompter::Shown>& shown)
{
    std::string s = "[";
    for (const auto& m : shown)
        s += std::string(s.size() > 1 ? ", " : "") + "{\"kind\": " + jsonString(hz::kindName(m.kind)) +
             ", \"text\": " + jsonString(m.text) + ", \"buttons\": " + buttonsJson(m.buttons) +
             ", \"answer\": " + jsonString(hz::answerName(m.answer)) + "}";
    return s + "]";
}

// The result of a call: done with `fields` ("\"saved\": true"), or the question to show next.
const char* replyFor(const ReplayResult& r, const std::string& fields)
{
    std::string s = "{\"done\": ";
    if (r.done()) {
        s += "true";
        if (!fields.empty())
            s += ", " + fields;
    } else {
        const hz::Question& q = *r.question;
        s += "false, \"question\": {\"kind\": " + jsonString(hz::kindName(q.kind)) +
             ", \"text\": " + jsonString(q.text) + ", \"buttons\": " + buttonsJson(q.buttons) +
             ", \"escape\": " + jsonString(hz::answerName(hz::answerThatChangesNothing(q.buttons))) + "}";
    }
    return reply(s + ", \"messages\": " + messagesJson(r.messages) + "}");
}

// The answers of a call, or why they are not; null when they are fine.
const char* readAnswers(const char* answersText, std::vector<Answer>& answers)
{
    if (!parseAnswers(answersText, answers))
        return error("Unbekannte Antwort in \"" + std::string(answersText) + "\".");
    return nullptr;
}

// A name the page gave for a file among the module's files: no folder, not "." or "..";
// otherwise the reply that refuses it, else null.
const char* refusedName(const std::string& name)
{
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos)
        return error("Der Dateiname \"" + name + "\" taugt nicht als Name einer Datei.");
    return nullptr;
}

// Puts `size` bytes at `data` among the module's files as `path`, written as every file is
// written; the reply that says why not, else null.
const char* putBytes(const std::string& path, const std::uint8_t* data, std::size_t size)
{
    const hz::WriteResult written =
        hz::writeContentAtomically(path, std::string(reinterpret_cast<const char*>(data), data ? size : 0));
    return written.complete() ? nullptr : error(written.message);
}

const char* noFile() { return error(Session::kNoCompleteFile); }

std::string rectJson(const hz::pages::Rect& r)
{
    return "[" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " + std::to_string(r.width) + ", " +
           std::to_string(r.height) + "]";
}

// The window around the pages: where its own controls and the shown pages' frames stand, the
// header, the status bar and the documentation page, as the Qt window shows them.
std::string windowJson(Session* s)
{
    std::optional<hz::pages::WindowArrangement> arrangement;
    std::string frames = "[";
    if (s)
        for (hz::pages::Page* page : s->pages.shown()) {
            const hz::pages::PagePlace place = page->placeIn(hz::kAddressArea);
            if (place.window && !arrangement)
                arrangement = place.window;
            frames += std::string(frames.size() > 1 ? ", " : "") + "{\"frame\": " + jsonString(page->frameName()) +
                      ", \"geometry\": " + rectJson(place.frame) + "}";
        }
    frames += "]";
    const hz::WindowLayout layout = hz::ArrangeWindow(arrangement.value_or(hz::kBaseArrangement));
    std::string places = "[";
    for (const auto& p : layout.places)
        places += std::string(places.size() > 1 ? ", " : "") + "{\"name\": " + jsonString(p.name) +
                  ", \"parent\": " + jsonString(p.parent) + ", \"geometry\": " + rectJson(p.geometry) + "}";
    places += "]";
    const hz::StatusPanels status = s ? s->statusTexts() : hz::StatusPanels{};
    std::string panels = "[";
    for (std::size_t k = 0; k < status.text.size(); ++k)
        panels += (k ? ", " : "") + jsonString(status.text[k]);
    panels += "]";
    const bool header = s && s->addresses.headerShown();
    const hz::DocSite site = s ? s->ident.Site : hz::DocSite{};
    const hz::DecoderType* type = s ? s->ident.Type : nullptr;
    return "{\"size\": [" + std::to_string(layout.width) + ", " + std::to_string(layout.height) +
           "], \"places\": " + places + ", \"frames\": " + frames +
           ", \"header\": " + jsonString(s ? s->ident.DecoderName : std::string("Hex Zwirbel")) +
           ", \"header_shown\": " + (s ? (header ? "true" : "false") : "true") + ", \"status\": " + panels +
           ", \"type\": " + jsonString(status.type) +
           ", \"title\": " + jsonString(std::string("Hex Zwirbel ") + hz::kLayoutDate) +
           ", \"doc\": " + jsonString(s ? s->ident.DocPage : std::string()) +
           ", \"doc_caption\": " + jsonString(hz::DocLinkCaption(site, type)) +
           ", \"doc_hint\": " + jsonString(hz::DocLinkHint(site, type)) + "}";
}

// The shown page that holds the control `name`; null when none does.
hz::pages::Page* pageOf(Session& s, const std::string& name)
{
    for (hz::pages::Page* p : s.shownPages())
        if (p->find(name))
            return p;
    return nullptr;
}

// Opens `file` as the window opens a file: the question about unsaved changes of the file
// shown, then `put` (which puts the file among the module's files, or says why it could not,
// as an error reply), then the load on a fresh session, with every message the window shows.
// `newSet`: the file comes with the files put in since the last open, which replace the set
// before; false for "<" and ">", which step within the set.
template <class Put>
const char* openFile(const std::string& file, const char* answersText, const Put& put, bool newSet = true)
{
    std::vector<Answer> answers;
    if (const char* bad = readAnswers(answersText, answers))
        return bad;
    // The file shown asks first whether its changes may go; nothing is read before.
    ReplayResult asked;
    if (face().editor) {
        bool go = true;
        asked = face().replay.run(answers, [&](Session& s) { go = s.ConfirmDiscardChanges(); });
        if (asked.done() && !go) {
            // Kept the file shown: the files put in for this open go again.
            for (const std::string& f : face().pendingFiles)
                if (std::find(face().folderFiles.begin(), face().folderFiles.end(), f) == face().folderFiles.end())
                    hz::platform::Remove(f);
            face().pendingFiles.clear();
        }
        if (!asked.done() || !go)
            return replyFor(asked, "\"loaded\": false, \"opened\": false");
        answers.erase(answers.begin(), answers.begin() + static_cast<std::ptrdiff_t>(asked.messages.size()));
    }
    // The files of the set before go (but the ones just put in for this open), then the file.
    if (newSet) {
        for (const std::string& f : face().folderFiles)
            if (std::find(face().pendingFiles.begin(), face().pendingFiles.end(), f) == face().pendingFiles.end() &&
                f != file)
                hz::platform::Remove(f);
        face().folderFiles = std::move(face().pendingFiles);
        face().pendingFiles.clear();
        if (std::find(face().folderFiles.begin(), face().folderFiles.end(), file) == face().folderFiles.end())
            face().folderFiles.push_back(file);
    }
    if (const char* failed = put())
        return failed;
    hz::LoadOutcome outcome = hz::LoadOutcome::NoFile;
    ReplayResult r = face().replay.open(answers, [&](Session& s) {
        // The labels that size themselves to their text are measured in the browser's font.
        const auto measure = [](const std::string& text) {
            const int w = hz_measure_text(text.c_str());
            return w >= 0 ? w : hz::pages::Page::EstimateTextWidth(text);
        };
        s.addresses.TextWidth = measure;
        for (hz::pages::Page* p : s.pages.all())
            p->TextWidth = measure;
        face().next = std::make_unique<hz::Editor>(s);
        s.keepHistory();
        outcome = face().next->open(file);
    });
    if (r.done()) {
        face().editor = std::move(face().next);
        face().file = file;
        face().loaded = outcome == hz::LoadOutcome::Done;
        face().opening = r.messages;
    }
    face().next.reset();
    r.messages.insert(r.messages.begin(), asked.messages.begin(), asked.messages.end());
    return replyFor(r, std::string("\"loaded\": ") + (outcome == hz::LoadOutcome::Done ? "true" : "false") +
                           ", \"opened\": true");
}

} // namespace

namespace {

std::string textsJson(const std::vector<std::string>& texts)
{
    std::string s = "[";
    for (std::size_t k = 0; k < texts.size(); ++k)
        s += (k ? ", " : "") + jsonString(texts[k]);
    return s + "]";
}

template <std::size_t N> std::string textsJson(const std::array<std::string, N>& texts)
{
    return textsJson(std::vector<std::string>(texts.begin(), texts.end()));
}

// What the HEX information dialog shows: the configuration and ID words, the ROM count, both
// listings (or a comparison's report) and the dialog's two status texts.
std::string infoFields(const hz::HexInfo& info)
{
    return "\"config\": " + textsJson(info.config) + ", \"id\": " + textsJson(info.id) +
           ", \"rom_count\": " + jsonString(info.romCount) + ", \"eeprom\": " + textsJson(info.memo1) +
           ", \"rom\": " + textsJson(info.memo3) + ", \"status\": " + textsJson(info.status);
}

} // namespace

namespace {

// The second file of "Vergleichen mit…" and "Einstellungen übernehmen aus…", put among the
// module's files in a folder of its own, apart from the files opened; empty with `failed` set.
std::string putSecondFile(const char* nameText, const std::uint8_t* data, std::size_t size, const char*& failed)
{
    const std::string name = nameText ? nameText : "";
    if ((failed = refusedName(name)))
        return {};
    const std::string folder = "zweite Datei";
    if (const int e = hz::platform::MakeFolder(folder); e != 0 && e != EEXIST) {
        failed = error("Der Ordner \"" + folder + "\" lässt sich nicht anlegen.");
        return {};
    }
    const std::string path = folder + "/" + name;
    if ((failed = putBytes(path, data, size)))
        return {};
    return path;
}

std::string rowJson(std::initializer_list<std::string> cells)
{
    std::string s = "[";
    for (const std::string& c : cells)
        s += (s.size() > 1 ? ", " : "") + jsonString(c);
    return s + "]";
}

} // namespace

extern "C" {

// The program's version, as "--version" prints it.
EMSCRIPTEN_KEEPALIVE const char* hz_version() { return hz::kProgramVersion; }

// Opens the file `name` from its `size` bytes at `data` as the window opens a file: the question
// about unsaved changes of the file shown, then the file's load, with every message the window
// shows. The bytes become the file `name` in the module's own files in memory, so the load
// reads it as the window reads a file from disk. Done gives "loaded" (whether the load went
// through; a load that stopped leaves no file open) and "opened" (false when the user kept
// the file shown).
EMSCRIPTEN_KEEPALIVE const char* hz_open(const char* name, const std::uint8_t* data, std::size_t size,
                                         const char* answersText)
{
    const std::string file = name ? name : "";
    if (const char* refused = refusedName(file))
        return refused;
    return openFile(file, answersText, [&] { return putBytes(file, data, size); });
}

// "<" (`direction` -1) and ">" (1): the previous or next HEX file among the module's files,
// as the window steps through the folder of the file shown. Done as hz_open; with no other
// file there, done with "opened": false.
EMSCRIPTEN_KEEPALIVE const char* hz_neighbour(int direction, const char* answersText)
{
    if (!face().editor)
        return noFile();
    const std::string file = direction < 0 ? face().editor->folder().PrevFile : face().editor->folder().NextFile;
    if (file.empty())
        return reply("{\"done\": true, \"loaded\": " + std::string(face().loaded ? "true" : "false") +
                     ", \"opened\": false, \"messages\": []}");
    return openFile(
        file, answersText, [] { return static_cast<const char*>(nullptr); }, false);
}

// One action on the shown pages, as `hexzwirbel-cli set --do` takes it ("edt_adr_1=12",
// "servo_btn_uebernehmen"). Done gives "accepted" (false with "reason" when the action did not
// reach the page: an unknown, hidden or disabled control) and "limited" (numbers the page
// stored otherwise than given, as "CONTROL: GIVEN -> STORED").
EMSCRIPTEN_KEEPALIVE const char* hz_action(const char* action, const char* answersText)
{
    std::vector<Answer> answers;
    if (const char* bad = readAnswers(answersText, answers))
        return bad;
    if (!face().editor || !face().loaded)
        return noFile();
    const std::string text = action ? action : "";
    bool accepted = false;
    std::string why;
    std::vector<hz::pages::LimitedInput> limited;
    const ReplayResult r = face().replay.run(answers, [&](Session& s) {
        why.clear();
        limited.clear();
        accepted = hz::pages::ApplyPageActionAndLeave(s.shownPages(), text, why, limited);
        face().editor->edited();
    });
    std::vector<std::string> limitedTexts;
    for (const auto& l : limited)
        limitedTexts.push_back(l.control + ": " + l.given + " -> " + l.stored);
    std::string fields = std::string("\"accepted\": ") + (accepted ? "true" : "false");
    if (!accepted)
        fields += ", \"reason\": " + jsonString(why);
    fields += ", \"limited\": [";
    for (std::size_t k = 0; k < limitedTexts.size(); ++k)
        fields += (k ? ", " : "") + jsonString(limitedTexts[k]);
    return replyFor(r, fields + "]");
}

// The window's save into bytes: pending working copies ("Geänderte Werte übernehmen?"), the
// rows' checks, then the file written under the name the window proposes (the file loaded, or
// the one last saved to) among the module's files in memory. Done gives "saved" and "name",
// the name to download the file under; the bytes are at hz_saved_data(), hz_saved_size() long,
// until the next save.
EMSCRIPTEN_KEEPALIVE const char* hz_save(const char* answersText)
{
    std::vector<Answer> answers;
    if (const char* bad = readAnswers(answersText, answers))
        return bad;
    if (!face().editor)
        return noFile();
    bool saved = false;
    std::string name;
    const ReplayResult r = face().replay.run(answers, [&](Session&) {
        name.clear();
        saved = face().editor->save([&](const std::string& proposed) { return name = proposed; });
    });
    std::string bytes;
    if (r.done() && saved && hz::platform::ReadFile(name, bytes) != 0)
        return error("Die gespeicherte Datei ist im Speicher nicht zu finden: " + name);
    if (r.done() && saved)
        face().saved = std::move(bytes);
    return replyFor(r, std::string("\"saved\": ") + (saved ? "true" : "false") + ", \"name\": " + jsonString(name));
}

EMSCRIPTEN_KEEPALIVE const char* hz_saved_data() { return face().saved.data(); }
EMSCRIPTEN_KEEPALIVE std::size_t hz_saved_size() { return face().saved.size(); }

// Undo and redo of the edit history. Done gives "changed".
static const char* historyStep(const char* answersText, bool (hz::Editor::*step)())
{
    std::vector<Answer> answers;
    if (const char* bad = readAnswers(answersText, answers))
        return bad;
    if (!face().editor)
        return noFile();
    bool changed = false;
    const ReplayResult r = face().replay.run(answers, [&](Session&) { changed = (face().editor.get()->*step)(); });
    return replyFor(r, std::string("\"changed\": ") + (changed ? "true" : "false"));
}

EMSCRIPTEN_KEEPALIVE const char* hz_undo(const char* answersText)
{
    return historyStep(answersText, &hz::Editor::undo);
}
EMSCRIPTEN_KEEPALIVE const char* hz_redo(const char* answersText)
{
    return historyStep(answersText, &hz::Editor::redo);
}

// One user event on a control of the shown pages, as the window's widgets report them: "text"
// (the edit's whole new text in `value`, as each key press gives it), "leave" (the edit loses
// the input focus), "click", "check" (`value` "1" or "0"), "position" and "select" (the number
// in `value`), "press", "move" and "release" (an image's mouse at x, y in its own pixels) and
// "file" (a file dialog answered the name in `value`, among the module's files). The event
// runs the page's handler and ends as the window's events end: the edit history notes it.
// Done gives "accepted" (false for a control no shown page has) and "focus" (a control the
// page asks to take the input focus, after a refused input).
EMSCRIPTEN_KEEPALIVE const char* hz_event(const char* nameText, const char* eventText, const char* valueText, int x,
                                          int y, const char* answersText)
{
    std::vector<Answer> answers;
    if (const char* bad = readAnswers(answersText, answers))
        return bad;
    if (!face().editor || !face().loaded)
        return noFile();
    const std::string name = nameText ? nameText : "", event = eventText ? eventText : "",
                      value = valueText ? valueText : "";
    static const char* const known[] = {"text",   "leave", "click", "check",   "position",
                                        "select", "press", "move",  "release", "file"};
    bool knownEvent = false;
    for (const char* k : known)
        knownEvent = knownEvent || event == k;
    if (!knownEvent)
        return error("Unbekanntes Ereignis \"" + event + "\".");
    const int number = std::atoi(value.c_str());
    bool accepted = false;
    std::string focus;
    const ReplayResult r = face().replay.run(answers, [&](Session& s) {
        hz::pages::Page* page = pageOf(s, name);
        accepted = page != nullptr;
        if (!page)
            return;
        using hz::pages::MouseAction;
        if (event == "text")
            page->userText(name, value);
        else if (event == "leave")
            page->userLeave(name);
        else if (event == "click")
            page->userClick(name);
        else if (event == "check")
            page->userChecked(name, value == "1");
        else if (event == "position")
            page->userPosition(name, number);
        else if (event == "select")
            page->userSelect(name, number);
        else if (event == "press")
            page->userMouse(name, MouseAction::Press, x, y);
        else if (event == "move")
            page->userMouse(name, MouseAction::Move, x, y);
        else if (event == "release")
            page->userMouse(name, MouseAction::Release, x, y);
        else
            page->userFile(name, value);
        focus = page->focusRequest;
        page->focusRequest.clear();
        face().editor->edited();
    });
    return replyFor(r, std::string("\"accepted\": ") + (accepted ? "true" : "false") +
                           ", \"focus\": " + jsonString(focus));
}

// A file the user picked for a page's file dialog, put among the module's files in memory
// under `name` (no folder), so that the page reads it as the window's pages read a file.
EMSCRIPTEN_KEEPALIVE const char* hz_put_file(const char* nameText, const std::uint8_t* data, std::size_t size)
{
    const std::string name = nameText ? nameText : "";
    if (const char* refused = refusedName(name))
        return refused;
    if (const char* failed = putBytes(name, data, size))
        return failed;
    face().pendingFiles.push_back(name);
    return reply("{\"done\": true}");
}

// A file a page wrote among the module's files (a saved curve), for the download: done gives
// "size"; the bytes are at hz_saved_data(), as after a save.
EMSCRIPTEN_KEEPALIVE const char* hz_get_file(const char* nameText)
{
    std::string bytes;
    if (const int e = hz::platform::ReadFile(nameText ? nameText : "", bytes); e != 0)
        return error("Die Datei ist im Speicher nicht zu finden: " + std::string(nameText ? nameText : ""));
    face().saved = std::move(bytes);
    return reply("{\"done\": true, \"size\": " + std::to_string(face().saved.size()) + "}");
}

// The picture of an image control as the window paints it: width x height pixels of RGBA,
// row after row, at hz_image_data(); done gives "width" and "height".
EMSCRIPTEN_KEEPALIVE const char* hz_image(const char* nameText)
{
    Session* s = face().replay.session();
    if (!s)
        return noFile();
    const std::string name = nameText ? nameText : "";
    hz::pages::Page* page = pageOf(*s, name);
    const hz::pages::Control* c = page ? page->find(name) : nullptr;
    if (!c || c->kind != hz::pages::ControlKind::Image || !c->geometry)
        return error("Kein Bild \"" + name + "\" auf den gezeigten Seiten.");
    const int w = c->geometry->width, h = c->geometry->height;
    const std::vector<hz::pages::Colour> pixels = hz::pages::RenderDrawing(w, h, c->drawing);
    std::string& out = face().image;
    out.resize(pixels.size() * 4);
    for (std::size_t k = 0; k < pixels.size(); ++k) {
        out[4 * k] = static_cast<char>(pixels[k].r);
        out[4 * k + 1] = static_cast<char>(pixels[k].g);
        out[4 * k + 2] = static_cast<char>(pixels[k].b);
        out[4 * k + 3] = static_cast<char>(255);
    }
    return reply("{\"done\": true, \"width\": " + std::to_string(w) + ", \"height\": " + std::to_string(h) + "}");
}

EMSCRIPTEN_KEEPALIVE const char* hz_image_data() { return face().image.data(); }

// "HEX Info": what the information dialog shows of the file shown.
EMSCRIPTEN_KEEPALIVE const char* hz_info()
{
    Session* s = face().replay.session();
    if (!s)
        return noFile();
    const hz::HexInfo info(s->image);
    return reply("{\"done\": true, " + infoFields(info) + "}");
}

// "vergleiche mit 2. HEX-File": the file `name` (its `size` bytes at `data`) compared with the
// file shown, as the information dialog compares it; the messages about its lines are asked
// as every message is. Done gives the dialog's fields with the report, and "outcome" ("done",
// "stopped" or "unreadable").
EMSCRIPTEN_KEEPALIVE const char* hz_info_compare(const char* nameText, const std::uint8_t* data, std::size_t size,
                                                 const char* answersText)
{
    std::vector<Answer> answers;
    if (const char* bad = readAnswers(answersText, answers))
        return bad;
    Session* s = face().replay.session();
    if (!s)
        return noFile();
    // Apart from the files opened, so that a file of the same name never takes their place.
    const char* failed = nullptr;
    const std::string path = putSecondFile(nameText, data, size, failed);
    if (failed)
        return failed;
    std::string fields;
    const ReplayResult r = face().replay.run(answers, [&](Session& session) {
        hz::HexInfo info(session.image);
        const auto outcome = info.compareWith(path, session.prompter());
        fields = std::string("\"outcome\": ") +
                 (outcome == hz::CompareReport::Outcome::Done      ? "\"done\""
                  : outcome == hz::CompareReport::Outcome::Stopped ? "\"stopped\""
                                                                   : "\"unreadable\"") +
                 ", " + infoFields(info);
    });
    hz::platform::Remove(path);
    return replyFor(r, fields);
}

// The settings sheet of the file shown, as the window prints it: the sheet's HTML page (its
// pictures inline SVG) and the title of the print job.
EMSCRIPTEN_KEEPALIVE const char* hz_sheet()
{
    if (!face().editor || !face().loaded)
        return noFile();
    const hz::tools::SettingsSheet sheet = face().editor->settingsSheet();
    return reply("{\"done\": true, \"title\": " + jsonString("Einstellungsblatt " + sheet.type) +
                 ", \"html\": " + jsonString(hz::tools::SheetHtml(sheet)) + "}");
}

// One file of the folder the user picked for the "Anlagen-Übersicht", by its path inside
// that folder's parent ("Anlage/Bahnhof/weiche.hex"): put among the module's files in memory,
// its folders made, until the overview has read it.
EMSCRIPTEN_KEEPALIVE const char* hz_overview_put(const char* pathText, const std::uint8_t* data, std::size_t size)
{
    const std::string path = pathText ? pathText : "";
    std::vector<std::string> parts;
    std::istringstream in(path);
    for (std::string part; std::getline(in, part, '/');)
        parts.push_back(part);
    bool fine = !path.empty() && path.back() != '/' && parts.size() >= 2;
    for (const std::string& part : parts)
        fine = fine && !part.empty() && part != "." && part != "..";
    if (!fine)
        return error("Der Pfad \"" + path + "\" taugt nicht als Datei eines Ordners.");
    std::string folder;
    for (std::size_t k = 0; k + 1 < parts.size(); ++k) {
        folder += (k ? "/" : "") + parts[k];
        if (const int e = hz::platform::MakeFolder(folder); e != 0 && e != EEXIST)
            return error("Der Ordner \"" + folder + "\" lässt sich nicht anlegen.");
    }
    if (const char* failed = putBytes(path, data, size))
        return failed;
    face().overviewFiles.push_back(path);
    return reply("{\"done\": true}");
}

// "Anlagen-Übersicht" over the folder `root` whose files hz_overview_put gave: the summary, the
// table's headings and lines (which columns hold numbers, which lines are a double use), the
// double uses as the tool words them and the files that did not load. The files are dropped
// from memory afterwards.
EMSCRIPTEN_KEEPALIVE const char* hz_overview(const char* rootText)
{
    const hz::tools::LayoutScan scan = hz::Editor::layoutOverview({rootText ? rootText : ""});
    for (const std::string& f : face().overviewFiles)
        hz::platform::Remove(f);
    face().overviewFiles.clear();
    std::string s =
        "{\"done\": true, \"summary\": " + jsonString(hz::tools::OverviewSummary(scan)) + ", \"headings\": [";
    const auto& headings = hz::tools::OverviewHeadings();
    for (std::size_t k = 0; k < headings.size(); ++k)
        s += std::string(k ? ", " : "") + jsonString(headings[k]);
    s += "], \"numbers\": [";
    for (std::size_t k = 0; k < headings.size(); ++k)
        s += std::string(k ? ", " : "") + (hz::tools::IsNumberColumn(k) ? "true" : "false");
    s += "], \"lines\": [";
    bool first = true;
    for (const hz::tools::OverviewLine& line : hz::tools::OverviewLines(scan)) {
        s += std::string(first ? "" : ", ") + "{\"double\": " + (line.doubleUse ? "true" : "false") +
             ", \"cells\": " + textsJson(line.cells) + "}";
        first = false;
    }
    s += "], \"double_uses\": [";
    for (std::size_t k = 0; k < scan.doubleUses.size(); ++k)
        s += (k ? ", " : "") + jsonString(hz::tools::CommandText(scan.doubleUses[k]));
    s += "], \"errors\": [";
    for (std::size_t k = 0; k < scan.errors.size(); ++k)
        s += (k ? ", " : "") + std::string("{\"file\": ") + jsonString(scan.errors[k].file) +
             ", \"reason\": " + jsonString(hz::tools::OneLine(scan.errors[k].reason)) + "}";
    return reply(s + "]}");
}

// What the page must draw anew since the last call, as a Qt frame refreshes: the controls whose
// stamp is newer than the last one given (after a file was opened ("fresh") every shown
// control and every group), the
// file, whether it loaded, the history's state and the "window" part of hz_state. Before the
// first load the pages are empty.
EMSCRIPTEN_KEEPALIVE const char* hz_view()
{
    Session* s = face().replay.session();
    std::ostringstream out;
    out << "{\"file\": " << jsonString(face().file) << ", \"loaded\": " << (face().loaded ? "true" : "false")
        << ", \"unsaved\": " << (s && s->HasUnsavedChanges() ? "true" : "false")
        << ", \"can_undo\": " << (s && s->canUndo() ? "true" : "false")
        << ", \"can_redo\": " << (s && s->canRedo() ? "true" : "false") << ", \"window\": " << windowJson(s);
    const bool fresh = s != face().viewed;
    if (fresh) {
        face().viewed = s;
        face().seen.clear();
    }
    out << ", \"fresh\": " << (fresh ? "true" : "false") << ", \"pages\": [";
    if (s) {
        bool firstPage = true;
        for (hz::pages::Page* page : s->shownPages()) {
            unsigned* seen = nullptr;
            for (auto& [p, stamp] : face().seen)
                if (p == page)
                    seen = &stamp;
            const bool all = !seen;
            if (!seen) {
                face().seen.emplace_back(page, 0);
                seen = &face().seen.back().second;
            }
            out << (firstPage ? "" : ", ") << "{\"frame\": " << jsonString(page->frameName())
                << ", \"all\": " << (all ? "true" : "false") << ", \"controls\": [";
            firstPage = false;
            bool firstControl = true;
            // A page's first view leaves out the hidden controls but its groups (the CV page
            // keeps hundreds of rows hidden); one that shows later is sent as it changes.
            for (const hz::pages::Control& c : page->controls())
                if (all ? (c.visible || c.kind == hz::pages::ControlKind::Group) : c.stamp > *seen) {
                    out << (firstControl ? "" : ", ");
                    hz::tools::writeControlJson(out, c);
                    firstControl = false;
                }
            out << "]}";
            *seen = page->stamp();
        }
    }
    out << "]}";
    return reply(out.str());
}

// "Vergleichen mit…": the file shown (as the window shows it, unsaved edits included) against
// the file `name` (its `size` bytes at `data`). Done gives "compared" (false when the other
// file could not be loaded; its message was asked), "refusal" (the files have nothing in
// common), "summary" (the lines above the table) and "rows": [page, setting, loaded, other]
// as the window's table shows them.
EMSCRIPTEN_KEEPALIVE const char* hz_compare(const char* nameText, const std::uint8_t* data, std::size_t size,
                                            const char* answersText)
{
    std::vector<Answer> answers;
    if (const char* bad = readAnswers(answersText, answers))
        return bad;
    if (!face().editor || !face().loaded)
        return noFile();
    const char* failed = nullptr;
    const std::string path = putSecondFile(nameText, data, size, failed);
    if (failed)
        return failed;
    std::string fields;
    const ReplayResult r = face().replay.run(answers, [&](Session&) {
        const auto comparison = face().editor->compareWith(path);
        fields = std::string("\"compared\": ") + (comparison ? "true" : "false");
        if (!comparison)
            return;
        std::string summary = comparison->hereLine + "\n" + comparison->thereLine + "\n" + comparison->countLine;
        if (!comparison->programLine.empty())
            summary += "\n" + comparison->programLine;
        fields += ", \"refusal\": " + jsonString(comparison->refusal) + ", \"summary\": " + jsonString(summary) +
                  ", \"rows\": [";
        for (std::size_t k = 0; k < comparison->differences.size(); ++k) {
            const hz::tools::Difference& d = comparison->differences[k];
            fields +=
                (k ? ", " : "") + rowJson({hz::tools::DifferenceArea(d), hz::tools::DifferenceSetting(d),
                                           hz::tools::DifferenceValue(d, d.a), hz::tools::DifferenceValue(d, d.b)});
        }
        fields += "]";
    });
    hz::platform::Remove(path);
    return replyFor(r, fields);
}

// "Einstellungen übernehmen aus…" with the file `name`: with `apply` 0 the preview the window's
// dialog shows ("summary", "carried" and "not_carried" rows: page, setting, value, what the
// file held before or why not, and whether it changes nothing), the file shown untouched; with
// `apply` 1 the settings carried, as "Übernehmen" in that dialog does (one undo step). Done
// gives "previewed" (false when the other file could not be loaded or nothing can be carried:
// its message was asked) and "applied".
EMSCRIPTEN_KEEPALIVE const char* hz_carry(const char* nameText, const std::uint8_t* data, std::size_t size, int apply,
                                          const char* answersText)
{
    std::vector<Answer> answers;
    if (const char* bad = readAnswers(answersText, answers))
        return bad;
    if (!face().editor || !face().loaded)
        return noFile();
    const char* failed = nullptr;
    const std::string path = putSecondFile(nameText, data, size, failed);
    if (failed)
        return failed;
    std::string fields;
    const ReplayResult r = face().replay.run(answers, [&](Session&) {
        bool previewed = false;
        std::string preview;
        const bool applied = face().editor->carrySettingsFrom(path, [&](const hz::tools::MigrationReport& report,
                                                                        const std::string& summary) {
            previewed = true;
            const std::size_t unchanged = hz::tools::UnchangedCount(report.carried);
            preview = ", \"summary\": " + jsonString(summary) + ", \"carried_heading\": " +
                      jsonString(hz::tools::CarriedHeading(true, report.carried.size(), true) + ":") +
                      ", \"not_carried_heading\": " +
                      jsonString(hz::tools::CarriedHeading(false, report.notCarried.size(), true) + ":") +
                      ", \"unchanged\": " + std::to_string(unchanged) +
                      ", \"unchanged_line\": " + jsonString(hz::tools::UnchangedLine(unchanged)) + ", \"carried\": [";
            for (std::size_t k = 0; k < report.carried.size(); ++k) {
                const hz::tools::CarriedSetting& c = report.carried[k];
                preview += std::string(k ? ", " : "") + "{\"cells\": " +
                           rowJson({hz::tools::CarriedArea(c), hz::tools::CarriedSubject(c), hz::tools::CarriedValue(c),
                                    hz::tools::CarriedBefore(c)}) +
                           ", \"unchanged\": " + (c.unchanged ? "true" : "false") + "}";
            }
            preview += "], \"not_carried\": [";
            for (std::size_t k = 0; k < report.notCarried.size(); ++k) {
                const hz::tools::CarriedSetting& c = report.notCarried[k];
                preview +=
                    std::string(k ? ", " : "") + rowJson({hz::tools::CarriedArea(c), hz::tools::CarriedSubject(c),
                                                          hz::tools::CarriedValue(c), c.reason});
            }
            preview += "]";
            return apply != 0;
        });
        fields = std::string("\"previewed\": ") + (previewed ? "true" : "false") +
                 ", \"applied\": " + (applied ? "true" : "false") + preview;
    });
    hz::platform::Remove(path);
    return replyFor(r, fields);
}

// What the window shows now: {"info": the object `info --json` prints (its messages are the
// load's), "unsaved", "can_undo", "can_redo", "window": where the window's own controls and the
// pages' frames stand, the header, the status bar}. Before the first load "info" is null.
EMSCRIPTEN_KEEPALIVE const char* hz_state()
{
    Session* s = face().replay.session();
    if (!s)
        return reply("{\"info\": null, \"window\": " + windowJson(nullptr) + "}");
    std::ostringstream out;
    out << "{\"info\": ";
    hz::tools::writeSessionJson(out, *s, face().file, face().loaded, face().opening);
    out << ", \"unsaved\": " << (s->HasUnsavedChanges() ? "true" : "false")
        << ", \"can_undo\": " << (s->canUndo() ? "true" : "false")
        << ", \"can_redo\": " << (s->canRedo() ? "true" : "false") << ", \"window\": " << windowJson(s) << "}\n";
    return reply(out.str());
}
}
