// The account attached to a loaded player. This program has no accounts to
// sign in to: an account is never signed in, loads nothing and saves
// nothing (the save logs the note that the function is not present). It
// keeps the program's name and an empty name and country.
#pragma once

class Game;

class Account {
public:
    Account(Game *game, const char *program_name);
    ~Account();
    Account(const Account &) = delete;
    Account &operator=(const Account &) = delete;

    char IsSignedIn() const { return 0; }
    char LoadFromUserFile(const char *user_name);
    char SaveToUserFile(const char *user_name);
    const char *GetName() const { return m_name; }
    const char *GetCountry() const { return m_country; }

private:
    [[maybe_unused]] Game *m_game;
    char *m_program_name;
    char m_name[32];
    char m_country[4];
};
