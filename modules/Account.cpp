// The player's account, which this program never signs in (see the header).
#include "modules/Account.h"

#include "engine/core/EngDebug.h"
#include "engine/core/EngMemory.h"

Account::Account(Game *game, const char *program_name)
    : m_game(game),
      m_program_name(program_name ? EngMallocStringFromString(program_name, 1, "Account::Account") : nullptr),
      m_name(), m_country()
{
}

Account::~Account() { EngFree(m_program_name, 0, "Account::~Account"); }

char Account::LoadFromUserFile(const char *) { return 0; }

char Account::SaveToUserFile(const char *)
{
    DebugNoteWithName(0, "Account::SaveToUserFile", "%s", DebugGetCodeText('FILL'));
    return 0;
}
