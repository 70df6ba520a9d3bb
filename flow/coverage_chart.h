// Fault coverage against the number of patterns applied, drawn as a plain
// SVG chart: axes with labelled ticks, a title, one polyline per curve and a
// legend.
#pragma once

#include <string>
#include <vector>

struct coverage_series_t {
  std::string label;
  std::vector<double> coverage;  // entry k: percent after the first k patterns
};

// On a logarithmic pattern axis (log_x) a short set and a long one both show
// their rise; the point before the first pattern then lies on the axis.
std::string coverage_chart_svg(const std::string& title, const std::vector<coverage_series_t>& series,
                               bool log_x = false);
// Writes the chart; a file that cannot be written ends through error().
void write_coverage_chart(const std::string& path, const std::string& title,
                          const std::vector<coverage_series_t>& series, bool log_x = false);
