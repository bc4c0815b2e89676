#include "core/Prompter.h"

namespace hz {

const char* kindName(MsgKind kind)
{
    switch (kind) {
    case MsgKind::Warning: return "warning";
    case MsgKind::Error: return "error";
    case MsgKind::Plain: return "plain";
    }
    return "plain";
}

} // namespace hz
