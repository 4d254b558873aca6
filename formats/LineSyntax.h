#pragma once
// The line syntax shared by every user-sheet file: splitting the bytes into
// lines, recognising each line's keyword, and the numbers of the version-2
// file.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

/// Which keywords a recognition knows.
enum class EFileVersion { Version2, Version34 };

/// Line codes: one numbering for both file versions. Two keywords with one
/// code are synonyms; 23 and 26 are not assigned.
enum ELineCode : int {
    kLineGroupName = 0,
    kLineCompanyName = 1,
    kLineProductName = 2,
    kLineSheetUse = 3,
    kLineSheetSurfaces = 4,
    kLineSheetName = 5,
    kLineSheetType = 6,
    kLineSheetIndex = 7,
    kLineSheetSize = 8,
    kLineSheetWidth = 9,
    kLineSheetHeight = 10,
    kLineSheetOrientation = 11,
    kLineSheetDeco = 12,
    kLineSheetDecoType = 13,
    kLineSheetDecoStartX = 14,
    kLineSheetDecoStartY = 15,
    kLineSheetDecoEndX = 16,
    kLineSheetDecoEndY = 17,
    kLineLabelNumber = 18,
    kLineFixed = 19,
    kLineFixedNo = 20,
    kLineFixedWidth = 21,
    kLineFixedHeight = 22,
    kLineFixedHorNum = 24,
    kLineFixedHorPos = 25,
    kLineFixedVerNum = 27,
    kLineFixedVerPos = 28,
    kLineFixedDeco = 29,
    kLineFixedDecoType = 30,
    kLineFixedDecoStartX = 31,
    kLineFixedDecoStartY = 32,
    kLineFixedDecoEndX = 33,
    kLineFixedDecoEndY = 34,
    kLineFree = 35,
    kLineFreeNo = 36,
    kLineFreeWidth = 37,
    kLineFreeHeight = 38,
    kLineFreePos = 39,
    kLineFreeHorPos = 40,
    kLineFreeVerPos = 41,
    kLineFreeDeco = 42,
    kLineFreeDecoType = 43,
    kLineFreeDecoStartX = 44,
    kLineFreeDecoStartY = 45,
    kLineFreeDecoEndX = 46,
    kLineFreeDecoEndY = 47,
    kLineId = 48,
    kLineComment = 49,
    kLineNoKey = 50,
    kLineUnknown = 51,  ///< an empty line, or a key the recognition does not know
};

/// Cuts a byte stream, delivered in chunks, into lines. CR, LF and CR LF end
/// a line. A line keeps at most kMaxLineLength bytes; the rest of a longer
/// line, up to its line end, is dropped. The handler gets a view that holds
/// only during its call (into the chunk, or into the splitter's own line
/// buffer for a line that spans chunks).
class CLineSplitter {
public:
    static constexpr std::size_t kChunkSize = 1024;
    static constexpr std::size_t kMaxLineLength = kChunkSize - 1;

    using LineHandler = std::function<void(std::string_view)>;

    explicit CLineSplitter(LineHandler handler) : m_handler(std::move(handler)) {}

    /// Splits one chunk. A CR LF pair is taken as one line end only within a
    /// chunk: a CR that closes a chunk and an LF that opens the next give one
    /// further, empty line, which recognition ignores.
    void Feed(std::string_view chunk);

    /// Delivers the last line when it had no line end.
    void Finish();

private:
    void Append(const char* pBytes, std::size_t nBytes);
    void EndLine();

    LineHandler m_handler;
    char m_arLine[kChunkSize] = {};
    std::size_t m_nFill = 0;
};

/// Recognises one line (without its line end): returns its line code and
/// sets value to the value after the first "=" (a view into the line),
/// leading blanks and tabs removed, trailing bytes kept. Keys are compared
/// ignoring ASCII case; a key outside the version's keywords gives
/// kLineUnknown.
int RecognizeLine(std::string_view line, EFileVersion eVersion, std::string_view& value);

/// A version-2 number: the decimal digits at the start of the value, 0 when
/// there are none ("-3" and "" give 0, "12.5" gives 12). A numeral too large
/// for an int saturates at INT_MAX.
int ReadVersion2Number(std::string_view value);

/// A version-2 length: the number in tenths of a millimetre, in millimetres.
double ReadVersion2Length(std::string_view value);
