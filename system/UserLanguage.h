#pragma once
// The language of the program's own texts (help, read-me, the lines that
// explain a refusal): Japanese for a Japanese user, English otherwise. The
// messages of the conversion run itself are Japanese whatever the user's
// language.

/// True when the user works in Japanese: on Windows the user's UI language,
/// on POSIX the locale of messages (LC_ALL, LC_MESSAGES, LANG, in that order
/// of precedence). Read once per process.
bool UserPrefersJapanese();

/// The Japanese text for a Japanese user, the English one otherwise.
inline const char* ByUserLanguage(const char* pJapanese, const char* pEnglish)
{
    return UserPrefersJapanese() ? pJapanese : pEnglish;
}
