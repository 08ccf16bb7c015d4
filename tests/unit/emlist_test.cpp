// Listing pages: a form length below 16 means the default of 66 lines (the layout of listed
// lines, pages and tables is checked by the listing cases end to end).
#include <gtest/gtest.h>

#include "output/emlist.h"
#include "test_context.h"

namespace {

TEST(Listing, PageLengthBelowSixteenMeansSixtySix) {
  TestContext t;
  sym_init(t.as);
  t.as.lst.ctl.page_width = 80;
  t.as.lst.ctl.page_length = 10;
  lst_begin(t.as, false);
  EXPECT_EQ(t.as.lst.page_length, 66);
}

}  // namespace
