#include "velk/exception.h"

#include <cstdio>
#include <new>

namespace velk {

std::string Exception::description() const {
  std::string out;
  describe(out);
  return out;
}

std::string Exception::displayText() const {
  std::string text = what();
  text += " - ";
  describe(text);
  text += ". At ";
  if (pos_.file) text += pos_.file;
  text += "(" + std::to_string(pos_.line) + ") ";
  return text;
}

void ResultCodeException::describe(std::string& out) const {
  out += message();
  if (!message().empty()) out += ": ";
  out += hexId(static_cast<uint32_t>(code_)) + " (" + frameworkText(code_) + ")";
}

void CreateInstanceException::describe(std::string& out) const {
  ResultCodeException::describe(out);
  if (!out.empty()) out += ": ";
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%08x", iid_);
  out += "iid = 0x";
  out += buffer;
}

std::string chainDisplayText(const Exception& e) {
  std::string text;
  for (const Exception* link = &e; link; link = link->nested()) {
    if (link != &e) text += ";";
    text += link->displayText();
  }
  return text;
}

result_t resultOfCurrentException() {
  try {
    throw;
  } catch (const contract::RequireViolation&) {
    return errors::kRequireViolation;
  } catch (const contract::InvariantViolation&) {
    return errors::kInvariantViolation;
  } catch (const contract::EnsureViolation&) {
    return errors::kEnsureViolation;
  } catch (const ResultCodeException& e) {
    return e.code() == 0 ? errors::kUnexpected : e.code();
  } catch (const Exception&) {
    return errors::kUnknownException;
  } catch (const std::bad_alloc&) {
    return errors::kOutOfMemory;
  } catch (const std::length_error&) {
    return errors::kOutOfMemory;
  } catch (...) {
    return errors::kUnknownException;
  }
}

std::string currentExceptionText() {
  try {
    throw;
  } catch (const Exception& e) {
    return chainDisplayText(e);
  } catch (const std::bad_alloc&) {
    // The library's own text ("std::bad_alloc") tells a user nothing.
    return frameworkText(errors::kOutOfMemory);
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "unknown exception";
  }
}

}  // namespace velk
