// How the XML reader's cost grows with its input: each input is timed at n and at 4n, and the ratio
// of the two times is printed. A linear cost gives about 4; a cost that grows with the square gives 16.
#pragma once

namespace bench {

// Times the reader on documents a careless or hostile author could write (end tags that match no open
// element, bytes the declared code page rejects, characters the target code page lacks) and on a
// well-formed document of the same size, and prints each growth ratio against its target.
void PrintXmlGrowthCheck();

}  // namespace bench
