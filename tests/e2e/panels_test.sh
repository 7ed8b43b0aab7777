#!/usr/bin/env bash
# A person searches and narrows the search by its first category, opens a
# card and reads its page with the product picture, scrolls it, keeps the
# product as a favourite and enters the seller's shop, where the left panel
# shows the seller.
source "$(dirname "$0")/lib.sh"

# The detail window over a 1280x800 screen, as its layout places it.
HTML_AREA=770x400+255+298         # the page below the buttons
PAGE_PICTURE=280x280+500+330       # the product picture at the top of the page
FAVOURITE_BUTTON="912 269"
ENTER_SHOP_BUTTON="811 269"
SELLER_ROW=200x24+10+80            # the left panel's first row
CATEGORY_ROWS=200x40+10+80         # its first two rows
FIRST_CATEGORY="58 88"
FIRST_SUBCATEGORY="62 108"
LEAF_CATEGORY="98 167"
PROPERTY_ROWS=200x40+10+378
BRAND_HEADER="42 377"
FIRST_BRAND="62 397"
WALL=800x560+400+110

brighter_than() { awk "BEGIN{exit !($(region_mean "$1" "$2") > $3)}"; }

page_is_shown() { brighter_than "$1" "$HTML_AREA" 0.85; }
picture_is_shown() {
  page_is_shown "$1" && [ "$(region_colours "$1" "$PAGE_PICTURE")" -gt 40 ] &&
    ! brighter_than "$1" "$PAGE_PICTURE" 0.97
}
page_is_gone() { ! brighter_than "$1" "$HTML_AREA" 0.6; }
seller_is_shown() { [ "$(region_colours "$1" "$SELLER_ROW")" -gt 8 ]; }
properties_are_shown() { [ "$(region_colours "$1" "$PROPERTY_ROWS")" -gt 8 ]; }
categories_are_shown() { [ "$(region_colours "$1" "$CATEGORY_ROWS")" -gt 8 ]; }
differs_in() { [ "$(compare -metric AE -extract "$3" "$1" "$2" null: 2>&1 || true)" -gt "$4" ]; }
wall_differs_from_before() { differs_in "$before" "$1" "$WALL" 5000; }
categories_differ_from_before() { differs_in "$before" "$1" "$CATEGORY_ROWS" 50; }
# The search view's sort buttons, the active one orange, replace the
# recommendation view's controls in the top bar.
search_view_shown() {
  awk "BEGIN{exit !($(convert "$1" -crop 40x16+1062+14 +repage -format '%[fx:mean.r]' info:) > 0.7)}"
}
search_results_shown() { search_view_shown "$1" && cards_are_shown "$1"; }

# Types a keyword into the emptied search box and presses Enter, again if
# it found nothing. The first key of an xdotool run is sometimes lost under
# the bare X server, so each run starts with a harmless Shift.
search_for() {
  for _ in 1 2 3; do
    xdotool mousemove 300 22 click 1
    sleep 0.3
    xdotool key shift Home key --repeat 30 Delete
    xdotool key shift type --delay 80 "$1"
    xdotool key shift Return
    wait_for 15 search_results_shown && return 0
  done
  fail "the search for $1 shows no results"
}

start_xvfb
start_market
start_client
wait_for_main_screen
sleep 1

# A keyword search fills the wall with cards.
search_for "手机"
echo "search: $(screenshot panels-search)"

# Choosing the first category narrows the search: the category opens onto
# the subcategories the narrowed search found, and its results fill the
# wall (the same cards, when the category holds them all: the wall refills
# faster than screenshots can catch).
wait_for 20 categories_are_shown || fail "the left panel shows no categories"
sleep 2
before=$(screenshot panels-categories)
xdotool mousemove $FIRST_CATEGORY click 1
wait_for 20 categories_differ_from_before || fail "choosing a category changed nothing"
wait_for 20 search_results_shown || fail "the narrowed search shows no results"
echo "category: $(screenshot panels-category-chosen)"

# Its subcategories narrow further, and the properties of the chosen
# category fill the lower tree.
xdotool mousemove $FIRST_SUBCATEGORY click 1
sleep 2
xdotool mousemove $LEAF_CATEGORY click 1
wait_for 20 properties_are_shown || fail "the left panel shows no properties"
echo "properties: $(screenshot panels-properties)"

# The brand opens onto its values; choosing one narrows the wall to it.
xdotool mousemove $BRAND_HEADER click 1
sleep 1
before=$(screenshot panels-brand-open)
xdotool mousemove $FIRST_BRAND click 1
wait_for 20 wall_differs_from_before || fail "choosing a brand changed nothing"
wait_for 20 search_results_shown || fail "the search narrowed to a brand shows no results"
echo "brand: $(screenshot panels-brand-chosen)"

# A click on the first card opens the detail window; its page follows with
# the product picture.
xdotool mousemove 500 200 click 1
wait_for 30 picture_is_shown || fail "the page with the product picture did not appear"
before=$(screenshot panels-detail)
echo "detail window: $before"

# The wheel scrolls the page under the mouse.
xdotool mousemove 640 500
for _ in 1 2 3; do xdotool click 5; sleep 0.1; done
sleep 1
after=$(screenshot panels-detail-scrolled)
[ "$(compare -metric AE -extract "$HTML_AREA" "$before" "$after" null: 2>&1 || true)" != 0 ] ||
  fail "the page did not scroll"

# The product becomes a favourite; entering the shop closes the window and
# the left panel shows the seller.
xdotool mousemove $FAVOURITE_BUTTON click 1
sleep 0.5
xdotool mousemove $ENTER_SHOP_BUTTON click 1
wait_for 30 page_is_gone || fail "the detail window stayed open in the shop"
wait_for 30 seller_is_shown || fail "the left panel shows no seller"
echo "shop: $(screenshot panels-shop)"

# The favourite is kept when the program ends.
xdotool mousemove 1256 21 click 1
wait_exit "$CLIENT_PID" 15
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE"
grep -q '<num_iid>[0-9]' "$LISTS/favorite.xml" || fail "the favourite was not kept"
echo PASS
