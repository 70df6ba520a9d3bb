#include "flow/verilog_names.h"

#include <cctype>
#include <cstdio>
#include <sstream>

namespace {

bool simple_start(unsigned char c) {
  return std::isalpha(c) || c == '_';
}

bool simple_part(unsigned char c) {
  return std::isalnum(c) || c == '_' || c == '$';
}

bool escapable(unsigned char c) {
  return c >= 33 && c <= 126;
}

// What the identifier names: the bytes an escaped identifier cannot hold
// spelled out.
std::string plain_name(const std::string& name) {
  std::string plain;
  for (unsigned char c : name) {
    if (escapable(c)) {
      plain += static_cast<char>(c);
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "_x%02X", c);
      plain += hex;
    }
  }
  return plain.empty() ? "_" : plain;
}

}  // namespace

bool is_verilog_keyword(const std::string& word) {
  static const std::set<std::string> keywords = [] {
    std::istringstream words(
        "accept_on alias always always_comb always_ff always_latch and assert assign assume automatic "
        "before begin bind bins binsof bit break buf bufif0 bufif1 byte case casex casez cell chandle "
        "checker class clocking cmos config const constraint context continue cover covergroup "
        "coverpoint cross deassign default defparam design disable dist do edge else end endcase "
        "endchecker endclass endclocking endconfig endfunction endgenerate endgroup endinterface "
        "endmodule endpackage endprimitive endprogram endproperty endspecify endsequence endtable "
        "endtask enum event eventually expect export extends extern final first_match for force foreach "
        "forever fork forkjoin function generate genvar global highz0 highz1 if iff ifnone ignore_bins "
        "illegal_bins implements implies import incdir include initial inout input inside instance int "
        "integer interconnect interface intersect join join_any join_none large let liblist library "
        "local localparam logic longint macromodule matches medium modport module nand negedge nettype "
        "new nexttime nmos nor noshowcancelled not notif0 notif1 null or output package packed parameter "
        "pmos posedge primitive priority program property protected pull0 pull1 pulldown pullup "
        "pulsestyle_ondetect pulsestyle_onevent pure rand randc randcase randsequence rcmos real "
        "realtime ref reg reject_on release repeat restrict return rnmos rpmos rtran rtranif0 rtranif1 "
        "s_always s_eventually s_nexttime s_until s_until_with scalared sequence shortint shortreal "
        "showcancelled signed small soft solve specify specparam static string strong strong0 strong1 "
        "struct super supply0 supply1 sync_accept_on sync_reject_on table tagged task this throughout "
        "time timeprecision timeunit tran tranif0 tranif1 tri tri0 tri1 triand trior trireg type typedef "
        "union unique unique0 unsigned until until_with untyped use uwire var vectored virtual void wait "
        "wait_order wand weak weak0 weak1 while wildcard wire with within wor xnor xor ");
    std::set<std::string> set;
    for (std::string w; words >> w;) set.insert(w);
    return set;
  }();
  return keywords.count(word) != 0;
}

std::string verilog_identifier(const std::string& name) {
  const std::string plain = plain_name(name);
  bool simple = simple_start(static_cast<unsigned char>(plain[0]));
  for (unsigned char c : plain) simple = simple && simple_part(c);
  if (simple && !is_verilog_keyword(plain)) return plain;
  return "\\" + plain + " ";
}

std::string verilog_string(const std::string& text) {
  std::string literal = "\"";
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      literal += '\\';
      literal += static_cast<char>(c);
    } else if (c >= 32 && c <= 126) {
      literal += static_cast<char>(c);
    } else {
      char octal[8];
      std::snprintf(octal, sizeof octal, "\\%03o", c);
      literal += octal;
    }
  }
  return literal + "\"";
}

std::string verilog_namer_t::unique(const std::string& name) {
  std::string plain = plain_name(name);
  for (int suffix = 2; taken_.count(plain) != 0; suffix++)
    plain = plain_name(name) + "_" + std::to_string(suffix);
  taken_.insert(plain);
  return verilog_identifier(plain);
}
