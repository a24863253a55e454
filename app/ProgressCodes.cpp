#include "app/ProgressCodes.h"

#include "shared/Messages.h"

namespace {

ProgressAction EndWith(ProgressEnd end, int message = 0)
{
    ProgressAction a;
    a.end = end;
    a.messageText = message;
    return a;
}

ProgressAction Bar(int value)
{
    ProgressAction a;
    a.setBar = true;
    a.bar = value;
    return a;
}

ProgressAction Analysis(unsigned int code, int value, bool cancelAsked)
{
    ProgressAction a;
    switch (code) {
    case 0: return EndWith(ProgressEnd::Cancel, 68);
    case 1:
        a = Bar(value);
        a.showCancel = true;
        return a;
    case 2: return EndWith(ProgressEnd::Ok);
    case 3:
        a = Bar(0);
        a.statusText = 69;
        return a;
    case 4: return EndWith(ProgressEnd::Cancel, 71);
    case 5:
        a = Bar(0);
        a.showCancel = true;
        a.statusText = 70;
        return a;
    case 6:
        a = EndWith(ProgressEnd::Cancel);
        a.resetCancelEvent = true;
        return a;
    case 7:
        // A stop nobody asked for: the song could not be analysed.
        a = EndWith(ProgressEnd::Cancel, cancelAsked ? 0 : kLangSongNotAnalysed);
        a.resetCancelEvent = true;
        return a;
    case kAnalysisOutOfMemory: return EndWith(ProgressEnd::Cancel, kLangSongTooLong);
    default: return EndWith(ProgressEnd::Cancel);
    }
}

// The ripper, the decoder and the song reader share their codes.
ProgressAction Conversion(unsigned int code, int value)
{
    switch (code) {
    case 0: return EndWith(ProgressEnd::Cancel, 67);
    case 1: return EndWith(ProgressEnd::Ok);
    case 2: return Bar(value);
    default: return EndWith(ProgressEnd::Cancel);
    }
}

} // namespace

ProgressAction DecideProgressAction(ProgressSource source, unsigned int code, int value, bool cancelAsked)
{
    switch (source) {
    case ProgressSource::Analysis: return Analysis(code, value, cancelAsked);
    case ProgressSource::CdRip:
        // The CD access layer is not usable: nothing was started.
        if (code == CD_RIP_ASPI_ERROR)
            return EndWith(ProgressEnd::Cancel, 143);
        return Conversion(code, value);
    case ProgressSource::Decode:
    // The song reader tells only its progress and its end; the caller looks
    // at what it read.
    case ProgressSource::SongRead: return Conversion(code, value);
    case ProgressSource::DecodeResult: return EndWith(ProgressEnd::Cancel, 49);
    case ProgressSource::NoEngine: {
        ProgressAction a = EndWith(ProgressEnd::Cancel, kLangAnalysisCannotRun);
        a.resetCancelEvent = true;
        return a;
    }
    }
    return EndWith(ProgressEnd::Cancel);
}
