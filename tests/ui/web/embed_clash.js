// Ends the raw string the build would embed it in.
var early = ")nj_text";
