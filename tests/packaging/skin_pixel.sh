# Sourced by the package tests: whether a window on the X display is drawn with BluePlastic.
#   drawn_with_blue_plastic WINDOW-ID   prints the pixel at 4,4 of the window; fails unless it has
#                                       the top of BluePlastic's form gradient (220,235,250)
drawn_with_blue_plastic() {
  local geometry x y pixel r g b
  geometry=$(xwininfo -id "$1")
  x=$(awk '/Absolute upper-left X/ { print $4 }' <<<"$geometry")
  y=$(awk '/Absolute upper-left Y/ { print $4 }' <<<"$geometry")
  # "srgb(R,G,B)" in eight bits a channel, whatever depth the tool prints its hex in.
  pixel=$(import -window root -crop "1x1+$((x + 4))+$((y + 4))" -depth 8 txt:- |
    grep -o 'srgb([0-9]*,[0-9]*,[0-9]*)' | tr -dc '0-9,')
  IFS=, read -r r g b <<<"$pixel"
  echo "the window's pixel at 4,4: $r,$g,$b (BluePlastic's form: 220,235,250 at the top)"
  ((r >= 0xD0 && r <= 0xE8 && g >= 0xDF && g <= 0xF7 && b >= 0xEE))
}
