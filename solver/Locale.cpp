#include "Locale.h"

#include <clocale>
#include <cstring>
#include <string>

#include "Platform.h"

char DecimalSeparator = '.';

void ReadLocaleSeparator() {
  // Where the C library knows no locale, the host tells.
  if (const char host = HostDecimalSeparator(); host != 0) {
    DecimalSeparator = host;
    return;
  }
  // Look at the user's numeric locale, then put the process back as it was:
  // nothing else in the solver formats or scans through the C locale.
  const char* current = std::setlocale(LC_NUMERIC, nullptr);
  std::string saved = current != nullptr ? current : "C";
  DecimalSeparator = '.';
  if (std::setlocale(LC_NUMERIC, "") != nullptr) {
    const std::lconv* conv = std::localeconv();
    if (conv != nullptr && conv->decimal_point != nullptr && std::strlen(conv->decimal_point) == 1)
      DecimalSeparator = conv->decimal_point[0];
  }
  std::setlocale(LC_NUMERIC, saved.c_str());
}
