#!/usr/bin/env perl
# Checks the XML examples of the user documentation against their sources.
#
#   doc_snippets.pl REPOSITORY_ROOT
#
# Every ```xml block in docs/*.md must be introduced by a paragraph that names
# its source ("From `examples/parts/tasks.xml`:"). Its lines must stand in that
# file in the same order and without gaps (indentation aside); a line "..."
# marks a gap. A source must be a file under docs/examples/ or one that
# examples/product.xml includes, so compiling those covers every example.
# Prints one line per documentation file and exits 1 on any mismatch.
use strict;
use warnings;
use File::Basename qw(dirname);

my $root = shift or die "usage: $0 REPOSITORY_ROOT\n";
my $failures = 0;

sub trimmed { my $line = shift; $line =~ s/^\s+|\s+$//g; return $line; }

sub read_lines {
  my $path = shift;
  open(my $in, '<', "$root/$path") or return undef;
  my @lines = map { chomp; s/\r$//; $_ } <$in>;
  return \@lines;
}

# The files examples/product.xml brings in, itself included.
sub included_closure {
  my %seen;
  my @todo = ('examples/product.xml');
  while (my $file = shift @todo) {
    next if $seen{$file}++;
    my $lines = read_lines($file) or next;
    for my $line (@$lines) {
      while ($line =~ /<include\s[^>]*\bfile="([^"]+)"/g) {
        my $path = dirname($file) . "/$1";
        1 while $path =~ s{[^/]+/\.\./}{};
        push @todo, $path;
      }
    }
  }
  return \%seen;
}

# Index just past the chunk's last line in $lines, searching from $from; -1 if absent.
sub find_chunk {
  my ($lines, $chunk, $from) = @_;
  START: for (my $start = $from; $start + @$chunk <= @$lines; ++$start) {
    for my $i (0 .. $#$chunk) {
      next START if trimmed($lines->[$start + $i]) ne trimmed($chunk->[$i]);
    }
    return $start + @$chunk;
  }
  return -1;
}

sub check_block {
  my ($doc, $line_number, $paragraph, $block, $sources) = @_;
  my @named = $paragraph =~ /\b[Ff]rom `([^`]+\.xml)`/g;
  unless (@named) {
    print "$doc($line_number): no source named before the example\n";
    return 0;
  }
  my $source = $named[-1];
  unless ($source =~ m{^docs/examples/} || $sources->{$source}) {
    print "$doc($line_number): $source is neither in docs/examples/ nor included by examples/product.xml\n";
    return 0;
  }
  my $lines = read_lines($source);
  unless ($lines) {
    print "$doc($line_number): $source cannot be read\n";
    return 0;
  }
  my @chunks = ([]);
  for my $line (@$block) {
    if (trimmed($line) eq '...') { push @chunks, []; } else { push @{$chunks[-1]}, $line; }
  }
  my $from = 0;
  for my $chunk (grep { @$_ } @chunks) {
    $from = find_chunk($lines, $chunk, $from);
    if ($from < 0) {
      print "$doc($line_number): not found in $source: ", trimmed($chunk->[0]), "\n";
      return 0;
    }
  }
  return 1;
}

my $sources = included_closure();
for my $doc (sort glob("$root/docs/*.md")) {
  (my $name = $doc) =~ s{^\Q$root\E/}{};
  my $lines = read_lines($name);
  # The paragraph before a block is the last run of non-empty lines.
  my ($checked, $ended, @paragraph, $block, $block_start) = (0, 0);
  for my $i (0 .. $#$lines) {
    my $line = $lines->[$i];
    if (defined $block) {
      if ($line =~ /^```\s*$/) {
        if (check_block($name, $block_start, join(' ', @paragraph), $block, $sources)) { ++$checked; }
        else { ++$failures; }
        undef $block;
        @paragraph = ();
      } else {
        push @$block, $line;
      }
    } elsif ($line =~ /^```xml\b/) {
      ($block, $block_start) = ([], $i + 1);
    } elsif ($line =~ /^\s*$/) {
      $ended = 1;
    } else {
      @paragraph = () if $ended;
      $ended = 0;
      push @paragraph, $line;
    }
  }
  print "$name: $checked XML examples found in their sources\n" if $checked;
}
exit($failures ? 1 : 0);
