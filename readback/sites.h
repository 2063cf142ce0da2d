// The sites of a document read back from a board. The image holds only the
// channel table and each bank's list of channel records; the sites are
// rebuilt from those lists.
#pragma once

#include "document/records.h"

#include <vector>

// Sites from the banks' channel lists. Walking the sites in order, the
// builder gives each new channel the next record, so the sites must come
// in an order that brings the records in the table's order.
//
// A list L whose highest record is m can bring the records [a, m] for
// any a from which L holds every record up to m and meets them in
// ascending order; earlier records must have come before it. The records
// that no list brings go, in order, into sites of their own (16 channels
// each at most): those no bank uses, and those that an unused site
// brought before a bank's site. Which list brings which stretch is chosen
// so that the fewest such sites are needed; the original document's own
// order is one possible choice, so a document's image never needs more
// sites than the document had.
//
// `channels` are the table's records in order, `bankLists` each bank's
// records (0-based, empty without a site). The sites are appended to the
// document, named "Site 1", ... and "Unused channels", and each bank is given
// its site. Returns the number of sites the channels need, which may exceed
// what a document holds.
int RebuildSites(TBoardData& document, const std::vector<TRfChannel>& channels,
                 const std::vector<std::vector<int>>& bankLists);
