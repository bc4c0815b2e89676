#pragma once
// A session beside the window's: the other file of a comparison, the old file settings are
// carried from, or a copy of what the window shows to try an edit on before the user decides.
// It is loaded as the editor loads a file, its pages set up; nobody is asked anything - its
// questions get the answers of a run without a user (BatchPrompter: the load goes on wherever
// that is safe) - and its messages are kept, not shown: the one that stopped a load is what the
// window tells the user.

#include <sstream>
#include <string>

#include "core/BatchPrompter.h"
#include "core/Session.h"

namespace hz::tools {

class SideSession {
    std::ostringstream m_log; // where the batch answers print to; nobody reads it
    BatchPrompter m_prompter{m_log};

public:
    SideSession() = default;
    SideSession(const SideSession&) = delete;
    SideSession& operator=(const SideSession&) = delete;

    // The file at `path`; true when the load went through.
    bool load(const std::string& path);
    // What `shown` shows now: its image with every edit, its address rows as typed and the
    // working copies its pages hold pending. True when that loaded.
    bool loadShownState(const Session& shown);

    bool loaded() const { return outcome == LoadOutcome::Done; }
    // The last message the session gave (the one that stopped a load); empty when none.
    std::string lastMessage() const;
    // Why the file `name` is not there to work with: "Die Datei "a.hex" wurde nicht geladen."
    // and the message that stopped the load, or that it could not be read.
    std::string failure(const std::string& name) const;

    LoadOutcome outcome = LoadOutcome::NoFile;
    Session session{m_prompter};
};

} // namespace hz::tools
