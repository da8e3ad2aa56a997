// Collator set up for French, ignoring case but not accents.
#include "book/frenchorder.h"

namespace gratinel {

FrenchOrder::FrenchOrder() : collator_(QLocale(QLocale::French, QLocale::France))
{
    collator_.setCaseSensitivity(Qt::CaseInsensitive);
    collator_.setNumericMode(false);
    collator_.setIgnorePunctuation(false);
}

} // namespace gratinel
