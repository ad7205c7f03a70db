#!/usr/bin/env perl
# Reads the shell commands of a document (the tour, the database files) out
# of its indented blocks.
#
#   doc_commands.pl DOCUMENT           the commands, each ended by a NUL
#   doc_commands.pl --shown DOCUMENT   the other lines of the indented blocks
#                                      (what the document shows the commands
#                                      print or write), "..." gaps left out
#
# A command is a line of an indented block that begins with one of the
# command words below, together with its continuation lines (ending in "\").
use strict;
use warnings;

my $shown = @ARGV && $ARGV[0] eq '--shown' ? shift : '';
my ($command, @commands, @other);
while (my $line = <>) {
  chomp $line;
  if (defined $command) {
    $command .= "\n$line";
  } elsif ($line =~ /^    ((?:hesk_config|sqlite3|rm|cp|sed|cd|export|make|ninja) .*)$/) {
    $command = $1;
  } else {
    push @other, substr($line, 4) if $line =~ /^    \s*\S/ && $line !~ /^\s*\.\.\.$/;
    next;
  }
  next if $line =~ /\\$/;
  push @commands, $command;
  undef $command;
}
if ($shown) { print "$_\n" for @other; } else { print "$_\0" for @commands; }
