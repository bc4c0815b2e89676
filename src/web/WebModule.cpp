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

#include <cstddef>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/QuestionReplay.h"
#include "core/Session.h"
#include "core/Version.h"
#include "core/editor/Editor.h"
#include "core/firmware/FileSet.h"
#include "core/pages/PageAction.h"
#include "core/platform/Platform.h"
#include "core/tools/Json.h"
#include "core/tools/SessionJson.h"

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
    std::string reply;                             // what the last call returned
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

const char* noFile() { return error(Session::kNoCompleteFile); }

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
    std::vector<Answer> answers;
    if (const char* bad = readAnswers(answersText, answers))
        return bad;
    const std::string file = name ? name : "";
    if (file.empty() || file == "." || file == ".." || file.find('/') != std::string::npos)
        return error("Der Dateiname \"" + file + "\" taugt nicht als Name einer Datei.");
    // The file shown asks first whether its changes may go; nothing is read before.
    ReplayResult asked;
    if (face().editor) {
        bool go = true;
        asked = face().replay.run(answers, [&](Session& s) { go = s.ConfirmDiscardChanges(); });
        if (!asked.done() || !go)
            return replyFor(asked, "\"loaded\": false, \"opened\": false");
        answers.erase(answers.begin(), answers.begin() + static_cast<std::ptrdiff_t>(asked.messages.size()));
    }
    const hz::WriteResult written =
        hz::writeContentAtomically(file, std::string(reinterpret_cast<const char*>(data), data ? size : 0));
    if (!written.complete())
        return error(written.message);
    hz::LoadOutcome outcome = hz::LoadOutcome::NoFile;
    ReplayResult r = face().replay.open(answers, [&](Session& s) {
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

// What the window shows now: {"info": the object `info --json` prints (its messages are the
// load's), "unsaved", "can_undo", "can_redo"}. Before the first load: null.
EMSCRIPTEN_KEEPALIVE const char* hz_state()
{
    Session* s = face().replay.session();
    if (!s)
        return reply("null");
    std::ostringstream out;
    out << "{\"info\": ";
    hz::tools::writeSessionJson(out, *s, face().file, face().loaded, face().opening);
    out << ", \"unsaved\": " << (s->HasUnsavedChanges() ? "true" : "false")
        << ", \"can_undo\": " << (s->canUndo() ? "true" : "false")
        << ", \"can_redo\": " << (s->canRedo() ? "true" : "false") << "}\n";
    return reply(out.str());
}
}
