// The TinyXML side of IKeepAsPrinted: an element swapped for its printed
// text, held in one node that the printer writes out as it stands.
#pragma once

class TiXmlElement;

namespace velk::xml {

// Whether `element` can be replaced by its printed text (see IKeepAsPrinted).
bool printableInPlace(const TiXmlElement* element);

// Replaces `element`, which printableInPlace accepts, by its printed text:
// appended to the kept text right before it, or as a new one. Deletes the
// element.
void replaceByPrintedText(TiXmlElement* element);

}  // namespace velk::xml
