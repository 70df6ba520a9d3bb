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

std::string coverage_chart_svg(const std::string& title, const std::vector<coverage_series_t>& series);
// Writes the chart; a file that cannot be written ends through error().
void write_coverage_chart(const std::string& path, const std::string& title,
                          const std::vector<coverage_series_t>& series);
