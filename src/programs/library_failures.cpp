// How the standard library fails inside the programs, without the code it would link for that.
// Its own versions of these functions bring in a name demangler (about 40 KB, for the default
// terminate handler's message) and a second, copy-on-write string library (for the messages of
// logic_error and its kin). The programs catch every exception at a step's guard as a
// std::exception and show its message, which these keep.
#include <cstdarg>
#include <cstddef>
#include <cstdlib>
#include <new>
#include <typeinfo>

#include "platform/logic_fault.h"

namespace {

using quellspur::platform::LogicFault;

// Writes `number` in decimal at `out`, within `end`; returns where it stopped.
char* PutDecimal(char* out, const char* end, std::size_t number) {
  char digits[24];
  int count = 0;
  do {
    digits[count++] = static_cast<char>('0' + number % 10);
    number /= 10;
  } while (number != 0);
  while (count > 0 && out < end) {
    *out++ = digits[--count];
  }
  return out;
}

}  // namespace

namespace __gnu_cxx {

// An exception that escapes every guard ends the program at once.
void __verbose_terminate_handler() {
  std::abort();
}

}  // namespace __gnu_cxx

namespace std {

void __throw_bad_alloc() {
  throw bad_alloc();
}
void __throw_bad_array_new_length() {
  throw bad_array_new_length();
}
void __throw_bad_cast() {
  throw bad_cast();
}
void __throw_bad_typeid() {
  throw bad_typeid();
}
void __throw_bad_exception() {
  throw bad_exception();
}
void __throw_logic_error(const char* what) {
  throw LogicFault(what);
}
void __throw_domain_error(const char* what) {
  throw LogicFault(what);
}
void __throw_invalid_argument(const char* what) {
  throw LogicFault(what);
}
void __throw_length_error(const char* what) {
  throw LogicFault(what);
}
void __throw_out_of_range(const char* what) {
  throw LogicFault(what);
}
void __throw_runtime_error(const char* what) {
  throw LogicFault(what);
}
void __throw_range_error(const char* what) {
  throw LogicFault(what);
}
void __throw_overflow_error(const char* what) {
  throw LogicFault(what);
}
void __throw_underflow_error(const char* what) {
  throw LogicFault(what);
}

// The library's position checks format their message with %zu (and %s, %%), as this does.
void __throw_out_of_range_fmt(const char* format, ...) {
  char message[128];
  char* out = message;
  const char* const end = message + sizeof message - 1;
  va_list values;
  va_start(values, format);
  for (const char* at = format; *at != '\0' && out < end; ++at) {
    if (at[0] == '%' && at[1] == 'z' && at[2] == 'u') {
      out = PutDecimal(out, end, va_arg(values, std::size_t));
      at += 2;
    } else if (at[0] == '%' && at[1] == 's') {
      for (const char* text = va_arg(values, const char*); *text != '\0' && out < end; ++text) {
        *out++ = *text;
      }
      ++at;
    } else if (at[0] == '%' && at[1] == '%') {
      *out++ = '%';
      ++at;
    } else {
      *out++ = *at;
    }
  }
  va_end(values);
  *out = '\0';
  throw LogicFault(message);
}

}  // namespace std
