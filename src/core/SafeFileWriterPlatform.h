// What each platform's part of the safe file writer provides, and the one
// way both record a failure.
#pragma once

#include "CSafeFileWriter.h"

#include <string>

namespace safefile
{
// Records why the write failed (with the system's reason for a nonzero
// nErrno) and returns false.
bool fail(const wxString& strWhat, int nErrno);
// The same with the reason in the system's own words.
bool failWith(const wxString& strWhat, const wxString& strReason);
// Produces the whole content into memory, for the routes that must have it
// all before the first byte of the target is touched.
bool produce(const wxString& strPath, const CSafeFileWriter::FnProducer& fnProduce,
             std::string& rstrContent);
// Writes the named file by the platform's safest route; strPath is not empty.
bool writeFile(const wxString& strPath, const CSafeFileWriter::FnProducer& fnProduce);
} // namespace safefile
