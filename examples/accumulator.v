// 4-bit accumulator with a small ALU in front of it: on a rising clock edge
// with en = 1 it loads acc op b, with rst = 1 it clears (rst wins over en).
//   op = 00: acc + b   (carry: the carry out)
//   op = 01: acc - b   (carry: the borrow)
//   op = 10: acc & b   (carry: 0)
//   op = 11: acc ^ b   (carry: 0)
// zero is 1 while acc holds 0.
module accumulator (
  input clk,
  input rst,
  input en,
  input [1:0] op,
  input [3:0] b,
  output reg [3:0] acc,
  output reg carry,
  output zero
);
  reg [4:0] result;

  always @* begin
    case (op)
      2'b00: result = {1'b0, acc} + {1'b0, b};
      2'b01: result = {1'b0, acc} - {1'b0, b};
      2'b10: result = {1'b0, acc & b};
      default: result = {1'b0, acc ^ b};
    endcase
  end

  always @(posedge clk) begin
    if (rst) begin
      acc <= 4'd0;
      carry <= 1'b0;
    end else if (en) begin
      acc <= result[3:0];
      carry <= result[4];
    end
  end

  assign zero = acc == 4'd0;
endmodule
