// Score submission (see the header).
#include "modules/ScoresSubmit.h"

#include "engine/core/EngCompression.h"
#include "engine/core/EngDebug.h"
#include "engine/core/EngJson.h"
#include "engine/core/EngLanguages.h"
#include "engine/core/EngMemory.h"
#include "engine/core/EngServers.h"
#include "engine/net/EngInternetReadURL.h"
#include "modules/CurlInterface.h"
#include "modules/Platform.h"
#include "modules/ScoresHooks.h"
#include "modules/ScoresMain.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

namespace {

const char kCipherKey[] = "TABLES_Q42";
const unsigned kAnswerCapacity = 16;
const int kDefaultTimeout = 15;
const double kPopupSeconds = 3;
int request_timeout = kDefaultTimeout;

// Shows the player what happened, when the caller allows popups.
class Popups {
public:
    explicit Popups(MWin *mwin)
        : m_mwin(mwin), m_on(mwin && scores_hooks.popups_allowed && scores_hooks.popups_allowed(mwin))
    {
    }

    // A null title shows none; a time-out above 0 closes the popup by itself.
    void Message(const char *title, const char *text, double timeout = 0)
    {
        if (!m_on || !scores_hooks.popup_message)
            return;
        scores_hooks.popup_message(m_mwin, title, text);
        if (timeout > 0 && scores_hooks.popup_set_timeout)
            scores_hooks.popup_set_timeout(m_mwin, timeout);
    }

    void ShowNow(const char *text)
    {
        if (m_on && scores_hooks.popup_show_message_now)
            scores_hooks.popup_show_message_now(m_mwin, text);
    }

private:
    MWin *m_mwin;
    bool m_on;
};

const char *Text(const char *key, const char *english)
{
    return EngLanguagesGetStringOrDefault(key, english);
}

// A fixed-size text field, which need not be terminated.
std::string Field(const char *text, size_t size)
{
    return std::string(text, strnlen(text, size));
}

} // namespace

void ScoresSubmitSetTimeoutForTests(int seconds)
{
    request_timeout = seconds > 0 ? seconds : kDefaultTimeout;
}

namespace {

// The submission object, members in the order they go out; false (logged)
// when the JSON library throws.
bool MakeJsonObject(_ScoresProgram program, unsigned short scores_version, unsigned set, const _ScoresScore *score,
                    nlohmann::ordered_json *object)
{
    // Unsigned arithmetic: the date packs into 32 bits without overflow.
    uint32_t date = (static_cast<uint32_t>(score->date.year) * 15u + static_cast<uint32_t>(score->date.month)) * 50u +
                    static_cast<uint32_t>(score->date.day);
    try {
        // The server reads the members by name, but the order is part of
        // the format.
        nlohmann::ordered_json &o = *object;
        o["ac"] = "Sub";
        o["ver"] = 1;
        o["prog"] = static_cast<int>(program);
        o["gver"] = scores_version;
        o["set"] = set;
        o["uid"] = score->user_id;
        o["name"] = Field(score->name, sizeof(score->name));
        o["cc"] = Field(score->country, sizeof(score->country));
        o["fb"] = Field(score->second_name, sizeof(score->second_name));
        o["v1"] = score->score;
        o["v2"] = score->level;
        o["v3"] = score->value3;
        o["v4"] = score->value4;
        o["f1"] = static_cast<int>(score->flags[0]);
        o["f2"] = static_cast<int>(score->flags[1]);
        o["f3"] = static_cast<int>(score->flags[2]);
        o["f4"] = static_cast<int>(score->flags[3]);
        o["date"] = date;
        o["plat"] = std::string(1, PlatformGetCurrentPlatform());
    } catch (const nlohmann::json::exception &e) {
        DebugError("ScoresSubmitMakeJsonText", "json::Exception <%s>", e.what());
        return false;
    }
    return true;
}

} // namespace

char *ScoresSubmitMakeJsonText(_ScoresProgram program, unsigned short scores_version, unsigned set,
                               const _ScoresScore *score)
{
    if (!score) {
        DebugErrorCode("ScoresSubmitMakeJsonText", 'BAPA');
        return nullptr;
    }
    nlohmann::ordered_json object;
    if (!MakeJsonObject(program, scores_version, set, score, &object))
        return nullptr;
    // The writer turns the record's 1252 text into UTF-8.
    return EngJsonWriteObjectToString(object);
}

_ScoresSubmitResult ScoresSubmitScore(_ScoresProgram program, unsigned short scores_version, unsigned set,
                                      const _ScoresScore *score, MWin *mwin)
{
    const char *where = "ScoresSubmitScore";
    Popups popups(mwin);
    const char *error_title = Text("Common_Error", "Error");
    if (!score) {
        DebugError(where, "Parameters error");
        popups.Message(error_title, Text("Common_InternalError", "Internal Error"));
        return SSR_FAILED;
    }
    if (!ScoresMainIsScoreValid(score, 0)) {
        popups.Message("Error", "Internal Error 1");
        return SSR_FAILED;
    }
    if (!EngInternetIsConnected()) {
        popups.Message(error_title, Text("Misc_NoInternetConnection", "No connection to internet found"));
        return SSR_NO_INTERNET;
    }
    nlohmann::ordered_json object;
    if (!MakeJsonObject(program, scores_version, set, score, &object)) {
        popups.Message("Error", "Internal Error 2");
        return SSR_FAILED;
    }
    char *json = EngJsonWriteObjectToString(object);
    if (!json) {
        popups.Message("Error", "Internal Error 3");
        return SSR_FAILED;
    }
    popups.ShowNow(Text("Score_SubmittingScore", "Submitting your score..."));
    char *body = EngZlibEncryptCompressAndEncodeToBase64Data(kCipherKey, json, static_cast<unsigned>(strlen(json)) + 1,
                                                            0, 0, nullptr);
    EngFree(json, 0, where);
    if (!body) {
        popups.Message("Error", "Internal Error 4");
        return SSR_FAILED;
    }
    CurlInterface *curl = new (std::nothrow) CurlInterface("ScoresSub", 0);
    if (!curl) {
        EngFree(body, 0, where);
        DebugErrorCode(where, 'OMEM');
        return SSR_FAILED;
    }
    std::string url = std::string(EngServersGetScoreServerAddress()) + "/cgi-bin/common/scores/Scores.fcgi";
    bool received = curl->DownloadFromUrl(url.c_str(), nullptr, kAnswerCapacity, body,
                                          static_cast<unsigned>(strlen(body)) + 1, 0, request_timeout, nullptr);
    EngFree(body, 0, where);

    unsigned size = received ? curl->GetDownloadedSize() : 0;
    const char *answer = size > 0 ? curl->GetDownloadedData() : nullptr;
    _ScoresSubmitResult result = SSR_FAILED;
    const char *sorry = Text("Common_Sorry", "Sorry");
    if (!received || size < 3) {
        DebugError(where, "Problem submitting [%s].", answer ? answer : "(no data)");
        popups.Message(error_title,
                       Text("Score_InternetProblemCommunicating", "Problem encountered communicating with Lichenware"));
        result = SSR_COMMUNICATION_PROBLEM;
    } else if (answer[0] == ' ' && answer[1] == 'A') {
        popups.Message(Text("Scores_Congratulations", "Congratulations!"),
                       Text("Score_SubmittedScore", "Your score was submitted successfully!"), kPopupSeconds);
        result = SSR_SUBMITTED;
    } else if (answer[0] == ' ' && answer[1] == 'D') {
        popups.Message(nullptr,
                       Text("Score_BetterScoreExists", "You have already submitted as good a score or better."),
                       kPopupSeconds);
        result = SSR_BETTER_SCORE_EXISTS;
    } else if (answer[0] == ' ' && answer[1] == 'V') {
        unsigned first = 0, newest = 0;
        sscanf(answer + 3, "%u %u", &first, &newest);
        char text[128] = "";
        if (first != scores_version)
            snprintf(text, sizeof(text), "Problem reading high scores list  [GV%d > CGV%d]", scores_version, first);
        else if (newest == scores_version)
            snprintf(text, sizeof(text), "Problem reading high scores list  [V SAME %d]", newest);
        else if (scores_version > newest)
            snprintf(text, sizeof(text), "Problem reading high scores list  [V%d > V%d]", scores_version, newest);
        if (text[0]) {
            popups.Message(error_title, text);
        } else {
            popups.Message(nullptr, Text("Scores_OldVersionNormal",
                                         "This game is out of date - you need to download the latest version."));
            result = SSR_OUT_OF_DATE;
        }
    } else if (answer[0] == ' ' && answer[1] == 'X') {
        DebugError(where, "CE: %s", answer + 3);
        popups.Message(sorry, "There was a problem submitting your score.");
    } else {
        DebugError(where, "CE: Unknown [%s].", answer);
        popups.Message(sorry, "Unknown problem while submitting.");
    }
    delete curl;
    return result;
}
