#pragma once
// The European Central Bank's daily euro reference rates (keyless): one XML document with the
// day and about thirty currencies, each as units per euro.

#include <string>
#include <string_view>

#include "commsprogram/providers.h"

namespace commsprogram {

std::string ecbRatesUrl(const std::string& base);
// The rates with base "EUR"; a Failure for malformed XML, a missing day or no rates.
Answer<Rates> parseEcbRates(std::string_view text);

class EcbRates : public RatesSource {
  public:
    explicit EcbRates(std::string base) : base_(std::move(base)) {}
    Answer<Rates> latest(Fetcher& fetcher) override;

  private:
    std::string base_;
};

}  // namespace commsprogram
