# Sourced by the benchmarks: a GPS log of about MB megabytes, 35 bytes a point line, CR LF.
#   write_synthetic_log MB FILE     sets point_lines to the number of point lines written
write_synthetic_log() {
  point_lines=$(($1 * 1000000 / 35))
  awk -v n="$point_lines" 'BEGIN {
    printf "$GPLOG,000001,06:12:07,A,start of the day\r\n"
    for (i = 0; i < n; ++i) {
      printf "%.7f %.7f %.1f %d\r\n", 55.7 + (i % 99991) * 1e-6, 37.6 + (i % 99989) * 1e-6,
        150 + (i % 500) / 10, 5 + i % 8
    }
    printf "$GPLOG,000002,17:45:31,A,end of the day\r\n"
  }' >"$2"
}
