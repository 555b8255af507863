// Replaces a file without ever leaving it half written: the new content goes
// to a temporary file in the same directory, is flushed to the disk, takes
// over the old file's permissions and is then renamed over it in one step.
// A failure leaves the old file as it was and no temporary file behind. A
// file the caller may not write to is refused, not replaced.
//
// Where no temporary file can be made (a writable file in a folder the user
// may not write to, a link to a file yet to be made) the file is written in
// place, as a plain save would. A pipe, a terminal or a device such as
// /dev/null is written directly; a directory is refused.
#pragma once

#include <wx/string.h>

#include <cstddef>
#include <functional>

class CSafeFileWriter
{
public:
    // Appends bytes to the temporary file; false when they could not be written.
    using FnSink = std::function<bool(const void* pData, size_t nLength)>;
    // Produces the whole content through the sink; false aborts the write.
    using FnProducer = std::function<bool(const FnSink& fnSink)>;

    static bool write(const wxString& strPath, const void* pData, size_t nLength);
    static bool write(const wxString& strPath, const FnProducer& fnProduce);

    // Why the last write on this thread failed, in plain words (for logs and
    // the command-line tool); empty after a success.
    static const wxString& getLastError();
};
