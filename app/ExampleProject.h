#pragma once

class TFileAccess;

// The example project of the README (samples/example.kvd): one test group with two tests.
// "Study habits" goes forward only and every question needs an answer; "Science interest" lets
// the person answer in any order through the Go To menu, go back and change answers, and has a
// question with up to two answers. Both add the weights of the chosen answers on their scales,
// whose interpretations cover every possible score.
void FillExampleProject(TFileAccess& store);
