// Result codes: 32-bit values where a negative value is a failure.
#pragma once

#include <cstdint>
#include <string>

namespace velk {

using result_t = int32_t;
using iid_t = uint32_t;
using clsid_t = uint32_t;

constexpr result_t code(uint32_t bits) { return static_cast<result_t>(bits); }

inline constexpr bool failed(result_t r) { return r < 0; }
inline constexpr bool succeeded(result_t r) { return r >= 0; }

namespace errors {
constexpr result_t kOk = 0;
constexpr result_t kFalse = 1;
constexpr result_t kNoInterface = code(0x80000001);
constexpr result_t kUnexpected = code(0x80000040);
constexpr result_t kOutOfMemory = code(0x80000041);
constexpr result_t kNotSupported = code(0x80000042);
constexpr result_t kNotImplemented = code(0x80000043);
constexpr result_t kBufferTooSmall = code(0x80000044);
constexpr result_t kAccessDenied = code(0x80000045);
constexpr result_t kInvalidArgument = code(0x80000046);
constexpr result_t kNotMatched = code(0x8000004A);
constexpr result_t kUnspecified = code(0x8000004B);
constexpr result_t kNotFound = code(0x8000004C);
constexpr result_t kFound = code(0x8000004D);
constexpr result_t kLocked = code(0x8000004F);
constexpr result_t kMediaError = code(0x80000059);
constexpr result_t kInvalidSize = code(0x8000005C);
constexpr result_t kInvalidType = code(0x8000005D);
constexpr result_t kInvalidIndex = code(0x8000005E);
constexpr result_t kOutOfSpace = code(0x80000062);
constexpr result_t kNotReady = code(0x80000063);
constexpr result_t kAlreadyDone = code(0x80000067);
constexpr result_t kBasesCorrupted = code(0x80000069);
constexpr result_t kInvalidState = code(0x8000006A);
constexpr result_t kNotInitialized = code(0x8000006B);
constexpr result_t kInsufficientResources = code(0x8000006C);
constexpr result_t kInvalidResult = code(0x80000071);
constexpr result_t kUnknownException = code(0x80000072);
constexpr result_t kRequireViolation = code(0x80000073);
constexpr result_t kInvariantViolation = code(0x80000074);
constexpr result_t kEnsureViolation = code(0x80000075);
constexpr result_t kMetaInfoNotFound = code(0x80000076);
constexpr result_t kPropertyNotFound = code(0x80000180);
constexpr result_t kTimeout = code(0x80000221);

constexpr result_t kPlatformUnspecified = code(0x80010100);
constexpr result_t kInvalidHandle = code(0x80010101);
constexpr result_t kFileNotFound = code(0x80010102);
constexpr result_t kPathNotFound = code(0x80010103);
constexpr result_t kSharingViolation = code(0x80010104);
constexpr result_t kAlreadyExists = code(0x80010105);
constexpr result_t kInvalidPathName = code(0x80010109);
}  // namespace errors

// Text of a code from the framework's tables (general and platform).
std::string frameworkText(result_t r);
// Text of a code from the application's tables; other facilities fall back
// to the framework text.
std::string applicationText(result_t r);
// "failed, Invalid argument (0x80000046)"
std::string resultLine(result_t r);
// "0x" and exactly 8 lowercase hexadecimal digits.
std::string hexId(uint32_t value);

// Maps errno of a failed POSIX call to a platform result code.
result_t fromErrno(int error);

}  // namespace velk
