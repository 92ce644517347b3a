// A row of the listing tables: a formula and the listing its program must
// have, named for RowName.
#pragma once

namespace qrv::test
{

struct ListingRow {
    const char* name;
    const char* text;
    const char* listing;
};

} // namespace qrv::test
