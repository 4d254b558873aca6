#pragma once
// What the process sets up before it does anything else, the arguments it
// was given, and the language of the user it runs for. Each system has its
// own bodies.

#include <string>
#include <vector>

/// Makes the process safe to write files: a standard stream the caller left
/// closed is opened onto the null device, so that no file the program opens
/// takes its place (and its messages land in that file), and a reader of
/// standard output or error that went away makes writes fail instead of
/// ending the process midway through writing a file. False when a closed
/// standard stream could not be taken: the program must then write nothing.
bool PrepareProcess();

/// The arguments after the program name, UTF-8. Where the system hands the
/// command line over in another form (UTF-16 on Windows), it is read from
/// there and argc/argv are not used.
std::vector<std::string> GetCommandLineArguments(int argc, char** argv);

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
